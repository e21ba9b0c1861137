#include "modules/AlxLFOModule.h"

#include "framework/AlxMessageCode.h"
#include "modules/AlxLFODomainSet.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxTransportModule.h"

namespace
{
    double realValueOf (const AlxParameter& p)
    {
        return p.getValue()->getRealValue();
    }
}

AlxLFOModule::AlxLFOModule (AlxModuleContainer* container_, int id_, const juce::String& name_,
                            const AlxLFODomainSet& domains_)
    : AlxModule (container_, id_, name_), domains (domains_)
{
}

void AlxLFOModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();

    AlxDomain* const settings[] = {
        domains.getWaveformDomain(), domains.getFrequencyDomain(), domains.getFrequencyUnitDomain(),
        domains.getLevelDomain(), domains.getPhaseDomain(), domains.getDCOffsetDomain(),
        domains.getPulseWidthDomain(), domains.getDeviationDomain()
    };

    int hostIndices[numParameters];

    for (auto& index : hostIndices)
        index = takeHostIndex();

    for (int id = 0; id < numParameters; ++id)
        addProgramParameter (id, hostIndices[id], settings[id]);

    rebuildIdTables();

    for (int program = 0; program < numPrograms; ++program)
        getProgramSet (program)->setPrefixForAll (getName() + "/");

    setCurrentProgram (0);

    // Program switches announce their values to the module, but nothing observes the module's
    // parameters yet: the generator takes program 0's settings here.
    for (int id = 0; id < numParameters; ++id)
        apply (id);

    addSinkRecursive (this, false);
}

AlxLFOGroupModule* AlxLFOModule::getLfoGroup() const
{
    return findModuleOf<AlxLFOGroupModule>();
}

AlxTransportModule* AlxLFOModule::getTransport() const
{
    return findModuleOf<AlxTransportModule>();
}

bool AlxLFOModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    if (AlxMessageCode::kindOf (code) == AlxMessageCode::valueChanged)
    {
        for (int id = 0; id < numParameters; ++id)
        {
            if (source == programParameter (id))
            {
                apply (id);
                return true;
            }
        }
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}

void AlxLFOModule::apply (int id)
{
    const juce::ScopedLock callbackLock (getCallbackLock());

    // Frequency and unit are set together, so both parameters are held.
    if (id == frequencyId || id == perId)
    {
        auto& frequency = *programParameter (frequencyId);
        auto& unit = *programParameter (perId);
        const juce::ScopedLock frequencyLock (frequency.getLock());
        const juce::ScopedLock unitLock (unit.getLock());
        const juce::ScopedLock lfoLock (lfo.getLock());
        lfo.setFrequency (realValueOf (frequency), (int) realValueOf (unit));
        return;
    }

    auto& parameter = *programParameter (id);
    const juce::ScopedLock parameterLock (parameter.getLock());
    const juce::ScopedLock lfoLock (lfo.getLock());
    const double value = realValueOf (parameter);

    switch (id)
    {
        case shapeId:      lfo.setWaveform ((int) value); break;
        case levelId:      lfo.setLevel (value); break;
        case phaseId:      lfo.setPhase (value); break;
        case dcOffsetId:   lfo.setDcOffset (value); break;
        case pulseWidthId: lfo.setPulseWidth (value); break;
        case noiseId:      lfo.setDeviation (value); break;
        default:           break;
    }
}
