#pragma once

#include "modules/AlxArpDomainSet.h"
#include "modules/AlxModulatedModule.h"

// Shapes the chord the trigger fires, once per firing: the arp mask picks which notes of the
// held chord sound (counted from the lowest), then the doubling adds an octave below, a fifth
// above or a fourth below each of them. Stepping the mask with an LFO turns the repeated chord
// into an arpeggio. No processing of its own per block.
//
// Both steps run on the audio thread inside the trigger's processing; they allocate nothing.
class AlxArpModule : public AlxModulatedModule
{
public:
    static constexpr int moduleId = 6000;

    enum ParameterId
    {
        doublingId = 0,
        doublingSourceId,
        maskId,
        maskSourceId
    };

    explicit AlxArpModule (AlxModuleContainer* container);
    ~AlxArpModule() override;

    void initialise() override;

    virtual AlxArpDomainSet* getDomainSet() const { return domainSet.get(); }
    virtual AlxParameter* getDoublingParameter() const { return programParameter (doublingId); }
    virtual AlxParameter* getMaskParameter() const { return programParameter (maskId); }
    virtual AlxParameter* getDoublingSourceParameter() const { return programParameter (doublingSourceId); }
    virtual AlxParameter* getMaskSourceParameter() const { return programParameter (maskSourceId); }
    virtual AlxValue* doublingAt (double t) const { return modulatedValueAt (doublingId, t); }
    virtual AlxValue* maskAt (double t) const { return modulatedValueAt (maskId, t); }
    // out becomes the notes of held that the mask at time t selects (channel 1). Mask bits
    // beyond the chord's size wrap around to its lower notes.
    virtual void applyMask (const juce::MidiKeyboardState& held, juce::MidiKeyboardState& out, double t) const;
    // out becomes the notes of in plus the doublings at time t (channel 1); doublings outside
    // the MIDI note range are dropped.
    virtual void applyDoubling (const juce::MidiKeyboardState& in, juce::MidiKeyboardState& out, double t) const;

private:
    std::unique_ptr<AlxArpDomainSet> domainSet;

    JUCE_DECLARE_NON_COPYABLE (AlxArpModule)
};
