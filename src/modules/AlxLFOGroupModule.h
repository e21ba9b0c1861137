#pragma once

#include "framework/AlxModule.h"
#include "framework/AlxModuleRef.h"
#include "modules/AlxLFODomainSet.h"

#include <array>

class AlxLFO;
class AlxLFOModule;
class AlxTransportModule;

// The two LFOs and the modulation they apply. The group owns the LFO domains, remembers which
// LFO the editor shows ("LFO" setting; its selected-child links follow it) and answers every
// modulated read: a parameter whose modulation source names an LFO takes the value of its
// domain that the LFO's level at the given time selects. Both LFOs modulate at all times,
// whichever is selected.
//
// Reads run on the audio thread (note generation) and the message thread (status views); each
// takes the parameter's lock, then its modulation source's lock, then the LFO's lock.
class AlxLFOGroupModule : public AlxModule
{
public:
    static constexpr int moduleId = 7000;
    static constexpr int numLfos = 2;

    explicit AlxLFOGroupModule (AlxModuleContainer* container);
    ~AlxLFOGroupModule() override;

    void initialise() override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;
    // Editor sinks (skipStatus) see the group's own settings and the selected LFO's, through the
    // links that follow the selection; other sinks see both LFOs' settings.
    void addSinkRecursive (AlxMessageSink* sink, bool skipStatus) override;
    void removeSinkRecursive (AlxMessageSink* sink, bool skipStatus) override;

    virtual AlxLFODomainSet* getDomainSet() const { return domainSet.get(); }
    virtual AlxLFOModule* getLfo (int index) const;
    virtual AlxLFOModule* getSelectedLfo() const;
    virtual AlxParameter* getSelectedLfoParameter() const { return selectedLfoParameter; }
    // Setting index (0 Shape ... 7 Noise) of the selected LFO's current program.
    virtual AlxParameter* getSelectedParameter (int index) const;
    // The value of p at time t (quarter notes): chosen by the modulating LFO's level, which cuts
    // 0 ... 1 into as many equal parts as p's domain has values; p's own value when p is not
    // modulated. modulated tells which.
    virtual AlxValue* modulatedValue (AlxParameter* p, double t, bool& modulated) const;
    // The level (0 ... 1) of the LFO that p's modulation source names, at time t in the given
    // time signature; 0 and not modulated when the source is "None" or missing.
    virtual double lfoLevelFor (AlxParameter* p, double t, int numerator, int denominator, bool& modulated) const;

    // p read at many times while its settings stay put (within one block on the audio thread):
    // the LFO that takes it over, or its own value, is found once, and the LFO is looked at again
    // only when a time leaves the table step of the last one. at(t) gives what modulatedValue gives.
    class Reading
    {
    public:
        AlxValue* at (double t) const;
        // A time before which at() gives for every time from t on what it gives for t (infinity
        // for a value no LFO moves); t itself when no such time is known.
        double steadyUntil (double t) const;
        // Whether an LFO takes p over (also when p has no values for it to choose from).
        bool isModulated() const { return modulated; }
        // Drops the value of the last look, so that the next time asked for looks at the LFO:
        // a reading kept from one block to the next sees changes of the LFO's own settings.
        void forgetLastLook() { recent = nullptr; }

    private:
        friend class AlxLFOGroupModule;
        // Whether the value of the last look holds at t.
        bool keeps (double t) const { return recent != nullptr && t > recentFrom && t < recentTo; }

        bool modulated = false;
        const AlxLFO* lfo = nullptr;
        AlxValue* fixed = nullptr;
        const AlxDomain::Values* values = nullptr;
        // The value of the last look, which holds for times strictly between these two.
        mutable AlxValue* recent = nullptr;
        mutable double recentFrom = 0.0, recentTo = 0.0;
    };

    virtual Reading readingOf (AlxParameter* p, int numerator, int denominator) const;
    virtual AlxTransportModule* getTransport() const;

private:
    // The LFO that p's modulation source names, its time signature set; null for "None". The
    // caller holds p's lock. The LFO's lock is not held until its values are read: every caller
    // gives the transport's own time signature, so no other caller can set one that differs in
    // between.
    const AlxLFO* modulatingLfo (AlxParameter* p, int numerator, int denominator) const;

    // What an editor sink observes: the group's settings, then the selected LFO's links.
    std::array<AlxParameterSet*, 4> editorSets() const;

    std::unique_ptr<AlxLFODomainSet> domainSet;
    // The LFOs among the children, found without a cast on every modulated read.
    std::array<AlxLFOModule*, numLfos> lfos {};
    AlxParameter* selectedLfoParameter = nullptr;
    AlxModuleRef<AlxTransportModule> transportModule;

    JUCE_DECLARE_NON_COPYABLE (AlxLFOGroupModule)
};
