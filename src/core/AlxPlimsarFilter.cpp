#include "core/AlxPlimsarFilter.h"

#include "core/AlxPlimsarModule.h"

std::unique_ptr<AlxModule> AlxPlimsarFilter::createRootModule()
{
    return std::make_unique<AlxPlimsarModule> (getContainer());
}
