#pragma once

#include "framework/AlxDomainSet.h"
#include "framework/AlxRealDomain.h"

#include <array>

// A chord voicing: besides its texts, one semitone offset per chord note, counted from the
// lowest note.
class AlxArpVoicingValue : public AlxValue
{
public:
    static constexpr int numOffsets = 7;
    using Offsets = std::array<int, numOffsets>;

    AlxArpVoicingValue (AlxRealDomain* domain, const juce::String& text, const juce::String& shortText,
                        const juce::String& longText, const Offsets& offsets);

    const Offsets& getOffsets() const { return offsets; }

private:
    Offsets offsets;
};

// The chord voicings. Kept with the arp's domains; no parameter uses them.
class AlxArpVoicingDomain : public AlxListDomain
{
public:
    explicit AlxArpVoicingDomain (AlxDomainSet* set);
};

// Notes added to each chord note; a value's real value holds the flags 64 (octave below),
// 32 (fifth above) and 16 (fourth below). Default "None".
class AlxArpDoublingDomain : public AlxListDomain
{
public:
    static constexpr int octaveBelow = 64;
    static constexpr int fifthAbove = 32;
    static constexpr int fourthBelow = 16;

    explicit AlxArpDoublingDomain (AlxDomainSet* set);
};

// Which notes of the held chord sound; a value's real value is a bit mask over the chord's
// notes, bit 0 the lowest. Default "All".
class AlxArpArpeggioDomain : public AlxListDomain
{
public:
    explicit AlxArpArpeggioDomain (AlxDomainSet* set);
};

// The arp's domains, in their fixed order.
class AlxArpDomainSet : public AlxDomainSet
{
public:
    AlxArpDomainSet();

    AlxArpVoicingDomain* getVoicingDomain() const { return voicingDomain; }
    AlxArpDoublingDomain* getDoublingDomain() const { return doublingDomain; }
    AlxArpArpeggioDomain* getArpeggioDomain() const { return arpeggioDomain; }

private:
    AlxArpVoicingDomain* voicingDomain;
    AlxArpDoublingDomain* doublingDomain;
    AlxArpArpeggioDomain* arpeggioDomain;
};
