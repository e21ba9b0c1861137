#include "midi/AlxMidiListDomain.h"

#include "framework/AlxMessageCode.h"

void AlxMidiListDomain::postValuesRebuilt()
{
    postMessage (this, AlxMessageCode::make (AlxMessageCode::deviceValuesRebuilt, AlxMessageCode::fromRebuild));
}
