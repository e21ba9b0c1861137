#include "core/AlxProgramDomainSet.h"

AlxProgramDomain::AlxProgramDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Preset", "Preset", "Current preset program selected within this bank")
{
    for (int i = 0; i < numPrograms; ++i)
        addValue (std::make_unique<AlxProgramValue> (this, 0, 0.0f, 0.0, "Untitled " + juce::String (i)));

    finishValues (0);
}
