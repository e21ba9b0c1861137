#include "modules/AlxArpDomainSet.h"

AlxArpVoicingValue::AlxArpVoicingValue (AlxRealDomain* domain_, const juce::String& text_, const juce::String& shortText_,
                                        const juce::String& longText_, const Offsets& offsets_)
    : AlxValue (domain_, 0, 0.0f, 0.0, text_, shortText_, longText_), offsets (offsets_)
{
}

AlxArpVoicingDomain::AlxArpVoicingDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Voicing", "Voicing", "Controls voicing (spreading) of the notes within the chord")
{
    struct Voicing
    {
        const char* text;
        const char* shortText;
        const char* longText;
        AlxArpVoicingValue::Offsets offsets;
    };

    static const Voicing voicings[] = {
        { "Root", "Root position", "Root position", { 0, 0, 0, 0, 0, 0, 0 } },
        { "1st inv", "1st inversion", "First inversion", { 12, 0, 0, 0, 0, 0, 0 } },
        { "2nd inv", "2nd inversion", "Second inversion", { 12, 12, 0, 0, 0, 0, 0 } },
        { "3rd inv", "3rd inversion", "Third inversion", { 12, 12, 12, 0, 0, 0, 0 } },
        { "4th inv", "4th inversion", "Fourth inversion", { 12, 12, 12, 12, 0, 0, 0 } },
        { "-1st inv", "Downward 1st inversion", "Downward first inversion", { 0, 0, 0, -12, 0, 0, 0 } },
        { "-2nd inv", "Downward 2nd inversion", "Downward second inversion", { 0, 0, -12, -12, 0, 0, 0 } },
        { "-3rd inv", "Downward 3rd inversion", "Downward third inversion", { 0, -12, -12, -12, -12, 0, 0 } },
        { "-4th inv", "Downward 4th inversion", "Downward fourth inversion", { -12, -12, -12, -12, 0, 0, 0 } },
        { "Open", "Open", "Spread chord", { -12, 0, 0, 12, 24, 24, 24 } },
        { "Open+", "Open+", "Spread chord more", { -24, -12, 0, 12, 24, 0, 0 } },
        { "Open++", "Open++", "Spread chord most", { -24, -12, 12, 24, 36, 0, 0 } },
    };

    for (auto& v : voicings)
        addValue (std::make_unique<AlxArpVoicingValue> (this, v.text, v.shortText, v.longText, v.offsets));

    finishValues (0);
}

AlxArpDoublingDomain::AlxArpDoublingDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Doubling", "Doubling", "Controls doubling of notes within the chord")
{
    addValue ("None", 0.0, "No doubling");
    addValue ("Oct", octaveBelow, "Add octave below");
    addValue ("5th", fifthAbove, "Add 5th above");
    addValue ("4th", fourthBelow, "Add 4th below");
    addValue ("Oct+5th", octaveBelow | fifthAbove, "Add oct+5th");
    addValue ("Oct+4th", octaveBelow | fourthBelow, "Add oct+4th");
    addValue ("5th+4th", fifthAbove | fourthBelow, "Add 5th+4th");
    addValue ("Oct+5+4", octaveBelow | fifthAbove | fourthBelow, "Add oct+5th+4th");
    finishValues (0);
}

AlxArpArpeggioDomain::AlxArpArpeggioDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Arp mask", "Arpeggio note mask",
                     "Controls the current mask of active notes in the arpeggiated note sequence.\n"
                     "Modulate this with an LFO to obtain an arpeggio effect.")
{
    addValue ("None", 0.0, "No notes");

    struct Mask
    {
        const char* notes;
        int bits;
    };

    static const Mask masks[] = {
        { "1", 1 }, { "2", 2 }, { "3", 4 }, { "4", 8 },
        { "1+2", 3 }, { "1+3", 5 }, { "1+4", 9 }, { "2+3", 6 }, { "2+4", 10 }, { "3+4", 12 },
        { "1+2+3", 7 }, { "1+2+4", 11 }, { "1+3+4", 13 }, { "2+3+4", 14 }, { "1+2+3+4", 15 },
    };

    for (auto& m : masks)
        addValue (m.notes, m.bits, juce::String ("Note ") + m.notes);

    addValue ("All", 511.0, "All notes");
    finishValues (16);
}

AlxArpDomainSet::AlxArpDomainSet()
{
    voicingDomain = add<AlxArpVoicingDomain>();
    doublingDomain = add<AlxArpDoublingDomain>();
    arpeggioDomain = add<AlxArpArpeggioDomain>();
}
