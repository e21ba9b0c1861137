#include "modules/AlxArpModule.h"

#include <array>

namespace
{
    // The notes of a keyboard state that sound on any channel, lowest first.
    struct Chord
    {
        std::array<int, 128> notes;
        int size = 0;

        explicit Chord (const juce::MidiKeyboardState& state)
        {
            for (int note = 0; note < 128; ++note)
                if (state.isNoteOnForChannels (0xffff, note))
                    notes[(size_t) size++] = note;
        }
    };

    // Turns the note on in a state of the firing's own; notes outside the MIDI range are dropped.
    // The state's event history (kept for keyboard displays) stays untouched, so nothing is
    // allocated.
    void sound (juce::MidiKeyboardState& out, int note)
    {
        if (note >= 0 && note < 128)
            out.processNextMidiEvent (juce::MidiMessage::noteOn (1, note, 1.0f));
    }
}

AlxArpModule::AlxArpModule (AlxModuleContainer* container_) : AlxModulatedModule (container_, moduleId) {}

AlxArpModule::~AlxArpModule()
{
    destroyContents();
}

void AlxArpModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    domainSet = std::make_unique<AlxArpDomainSet>();
    addModulatedParameters ({ { domainSet->getDoublingDomain(), "Mod-Doubling" },
                              { domainSet->getArpeggioDomain(), "Mod-Arp" } });
    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
}

void AlxArpModule::applyMask (const juce::MidiKeyboardState& held, juce::MidiKeyboardState& out, double t) const
{
    out.reset();
    const Chord chord (held);

    if (chord.size == 0)
        return;

    const int mask = (int) maskAt (t)->getRealValue();
    unsigned positions = 0;

    for (int bit = 0; bit < 16; ++bit)
        if ((mask >> bit) & 1)
            positions |= 1u << (bit % chord.size);

    for (int j = 0; j < chord.size; ++j)
        if ((positions >> (j % 32)) & 1)
            sound (out, chord.notes[(size_t) j]);
}

void AlxArpModule::applyDoubling (const juce::MidiKeyboardState& in, juce::MidiKeyboardState& out, double t) const
{
    out.reset();
    const Chord chord (in);

    if (chord.size == 0)
        return;

    const int flags = (int) doublingAt (t)->getRealValue();

    for (int j = 0; j < chord.size; ++j)
    {
        const int note = chord.notes[(size_t) j];
        sound (out, note);

        if (flags & AlxArpDoublingDomain::octaveBelow)
            sound (out, note - 12);

        if (flags & AlxArpDoublingDomain::fourthBelow)
            sound (out, note - 5);

        if (flags & AlxArpDoublingDomain::fifthAbove)
            sound (out, note + 7);
    }
}
