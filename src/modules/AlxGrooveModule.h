#pragma once

#include "modules/AlxGrooveDomainSet.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxModulatedModule.h"

// Bends musical time near chosen beats of the bar so that the trigger's step grid lands early
// or late around them: warp maps a time to grooved time, shifted at a selected beat by half the
// amount and fading out linearly to no shift at half the width on either side. The trigger scans
// its grid in grooved time. No processing of its own per block.
class AlxGrooveModule : public AlxModulatedModule
{
public:
    static constexpr int moduleId = 5000;

    enum ParameterId
    {
        patternId = 0,
        patternSourceId,
        amountId,
        amountSourceId,
        widthId,
        widthSourceId
    };

    explicit AlxGrooveModule (AlxModuleContainer* container);
    ~AlxGrooveModule() override;

    void initialise() override;

    virtual AlxGrooveDomainSet* getDomainSet() const { return domainSet.get(); }
    virtual AlxParameter* getPatternParameter() const { return programParameter (patternId); }
    virtual AlxParameter* getAmountParameter() const { return programParameter (amountId); }
    virtual AlxParameter* getWidthParameter() const { return programParameter (widthId); }
    virtual AlxParameter* getPatternSourceParameter() const { return programParameter (patternSourceId); }
    virtual AlxParameter* getAmountSourceParameter() const { return programParameter (amountSourceId); }
    virtual AlxParameter* getWidthSourceParameter() const { return programParameter (widthSourceId); }
    virtual AlxValue* patternAt (double t) const { return modulatedValueAt (patternId, t); }
    virtual AlxValue* amountAt (double t) const { return modulatedValueAt (amountId, t); }
    virtual AlxValue* widthAt (double t) const { return modulatedValueAt (widthId, t); }
    // The pattern, amount and width with their LFOs, and the transport's time signature, read
    // once for the many warps of one block.
    struct Settings
    {
        AlxLFOGroupModule::Reading pattern, amount, width;
        int numerator;
        double beatLength;

        // True when an LFO takes over the pattern, amount or width: grooved time may then fall
        // back where the LFO steps, so it is not sure to grow with time.
        bool isModulated() const { return pattern.isModulated() || amount.isModulated() || width.isModulated(); }
    };

    virtual Settings currentSettings() const;
    // Grooved time of time t, both in quarter notes, in the transport's time signature. While
    // the settings stay put it never decreases and never differs from t by more than half a
    // quarter note.
    virtual double warp (double t) const { return warp (t, currentSettings()); }
    virtual double warp (double t, const Settings& settings) const;
    // A time before which the pattern, amount and width stay what they are at t, so that grooved
    // time grows from t up to it; t itself when no such time is known.
    double steadyUntil (double t, const Settings& settings) const;
    // Whether the current settings are modulated (Settings::isModulated).
    virtual bool isModulated() const { return currentSettings().isModulated(); }
    // The transport's song position in grooved time, in whole samples.
    virtual double warpedSamplePosition() const;

private:
    std::unique_ptr<AlxGrooveDomainSet> domainSet;

    JUCE_DECLARE_NON_COPYABLE (AlxGrooveModule)
};
