#pragma once

#include "framework/AlxModule.h"
#include "modules/AlxLFO.h"

class AlxLFODomainSet;
class AlxLFOGroupModule;
class AlxTransportModule;

// One of the two LFOs: a generator and its eight settings per program, each named with the
// module's prefix ("L1/Shape"). Every change of a setting, a program switch included, is applied
// to the generator under the processor's callback lock, so a block never sees half a change.
class AlxLFOModule : public AlxModule
{
public:
    static constexpr int firstModuleId = 700100;

    enum ParameterId
    {
        shapeId = 0,
        frequencyId,
        perId,
        levelId,
        phaseId,
        dcOffsetId,
        pulseWidthId,
        noiseId,
        numParameters
    };

    // The parameters are built over the group's domains, which outlive the module.
    AlxLFOModule (AlxModuleContainer* container, int id, const juce::String& name, const AlxLFODomainSet& domains);

    void initialise() override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;

    virtual AlxParameter* getShapeParameter() const { return programParameter (shapeId); }
    virtual AlxParameter* getFrequencyParameter() const { return programParameter (frequencyId); }
    virtual AlxParameter* getPerParameter() const { return programParameter (perId); }
    virtual AlxParameter* getLevelParameter() const { return programParameter (levelId); }
    virtual AlxParameter* getPhaseParameter() const { return programParameter (phaseId); }
    virtual AlxParameter* getDcOffsetParameter() const { return programParameter (dcOffsetId); }
    virtual AlxParameter* getPulseWidthParameter() const { return programParameter (pulseWidthId); }
    virtual AlxParameter* getNoiseParameter() const { return programParameter (noiseId); }
    virtual AlxLFOGroupModule* getLfoGroup() const;
    virtual AlxTransportModule* getTransport() const;

    // The generator; callers hold its lock around a sequence of calls.
    AlxLFO& getGenerator() { return lfo; }
    const AlxLFO& getGenerator() const { return lfo; }

private:
    AlxParameter* programParameter (int id) const { return getProgramParameters()->findById (id); }
    // Applies the current program's setting id to the generator (message thread).
    void apply (int id);

    const AlxLFODomainSet& domains;
    AlxLFO lfo;

    JUCE_DECLARE_NON_COPYABLE (AlxLFOModule)
};
