#include "modules/AlxArpDomainSet.h"
#include "modules/AlxGrooveDomainSet.h"
#include "modules/AlxLFODomainSet.h"
#include "modules/AlxTransportDomainSet.h"
#include "modules/AlxTriggerDomainSet.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
    // What the editor, the host and the help texts see of one domain.
    struct DomainCase
    {
        const char* name;
        const char* label;
        const char* description;
        AlxControlKind kind;
        int count;
        const char* defaultText;
        double defaultReal;
    };

    void expectDomain (const AlxDomain* domain, const DomainCase& c)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (domain->getName(), c.name);
        EXPECT_EQ (domain->getLabel(), c.label);
        EXPECT_EQ (domain->getDescription(), c.description);
        EXPECT_EQ (domain->getControlKind(), c.kind);
        EXPECT_EQ (domain->getNumValues(), c.count);
        ASSERT_NE (domain->getDefaultValue(), nullptr);
        EXPECT_EQ (domain->getDefaultValue()->getText(), c.defaultText);
        EXPECT_DOUBLE_EQ (domain->getDefaultValue()->getRealValue(), c.defaultReal);
    }

    // The set's domains, in order, are the given ones.
    void expectDomains (const AlxDomainSet& set, std::initializer_list<DomainCase> cases)
    {
        ASSERT_EQ (set.getDomains().size(), cases.size());
        auto domain = set.getDomains().begin();

        for (auto& c : cases)
            expectDomain ((domain++)->get(), c);
    }

    std::vector<juce::String> texts (const AlxDomain& domain, juce::String (AlxValue::*text)() const)
    {
        std::vector<juce::String> result;

        for (auto& v : domain.getValues())
            result.push_back ((v.get()->*text)());

        return result;
    }

    std::vector<double> reals (const AlxDomain& domain)
    {
        std::vector<double> result;

        for (auto& v : domain.getValues())
            result.push_back (v->getRealValue());

        return result;
    }

    using Texts = std::vector<juce::String>;
}

TEST (AlxTransportDomainSet, domainsInOrder)
{
    AlxTransportDomainSet set;
    expectDomains (set, {
        { "Bpm", "Beats per minute", "Tempo in beats per minute", AlxControlKind::numeric, 1, "120.00", 120.0 },
        { "../4", "TS Numerator", "Time signature numerator", AlxControlKind::numeric, 1, "4", 4.0 },
        { "4/..", "TS Denominator", "Time signature denominator", AlxControlKind::numeric, 1, "4", 4.0 },
        { "Unit", "Time Unit", "Time Unit", AlxControlKind::list, 3, "Bar", 0.0 },
        { "Transport", "Transport state", "Transport state: stopped, armed or playing", AlxControlKind::list, 3, "Stopped", 0.0 },
    });

    EXPECT_EQ (set.getBpmDomain(), set.getDomain (0));
    EXPECT_EQ (set.getStateDomain(), set.getDomain (4));

    auto* units = set.getTimeUnitDomain();
    EXPECT_EQ (texts (*units, &AlxValue::getShortText), (Texts { "Bar", "Beat", "1/4" }));
    EXPECT_EQ (texts (*units, &AlxValue::getLongText), (Texts { "Bar time unit", "Beat time unit", "1/4 note duration" }));
    EXPECT_EQ (reals (*units), (std::vector<double> { 0.0, 1.0, 2.0 }));

    auto* states = set.getStateDomain();
    EXPECT_EQ (texts (*states, &AlxValue::getText), (Texts { "Stopped", "Armed", "Playing" }));
    EXPECT_EQ (texts (*states, &AlxValue::getLongText),
               (Texts { "Transport is stopped", "Transport is armed", "Transport is playing" }));
    EXPECT_EQ (reals (*states), (std::vector<double> { 0.0, 0.0, 0.0 }));
    EXPECT_EQ (states->getStopped(), states->getValues()[0].get());
    EXPECT_EQ (states->getArmed(), states->getValues()[1].get());
    EXPECT_EQ (states->getPlaying(), states->getValues()[2].get());
}

TEST (AlxTransportDomainSet, numericDomainsAreContinuousWithinTheirRange)
{
    AlxTransportDomainSet set;
    const float nan = std::numeric_limits<float>::quiet_NaN();

    struct Case { AlxDomain* domain; float below, low, high, above; };

    for (auto c : { Case { set.getBpmDomain(), 19.99f, 20.0f, 999.0f, 999.01f },
                    Case { set.getNumeratorDomain(), 0.99f, 1.0f, 99.0f, 99.01f },
                    Case { set.getDenominatorDomain(), 0.99f, 1.0f, 16.0f, 16.01f } })
    {
        SCOPED_TRACE (c.domain->getName());
        EXPECT_FALSE (c.domain->isIndexed());
        EXPECT_FALSE (c.domain->isNamed());
        EXPECT_TRUE (c.domain->isContinuous());
        EXPECT_FALSE (c.domain->acceptsRealValue (c.below));
        EXPECT_TRUE (c.domain->acceptsRealValue (c.low));
        EXPECT_TRUE (c.domain->acceptsRealValue (c.high));
        EXPECT_FALSE (c.domain->acceptsRealValue (c.above));
        EXPECT_FALSE (c.domain->acceptsRealValue (nan));
    }

    EXPECT_TRUE (set.getTimeUnitDomain()->isIndexed());
    EXPECT_TRUE (set.getStateDomain()->isIndexed());
}

TEST (AlxLFODomainSet, domainsInOrder)
{
    AlxLFODomainSet set;
    expectDomains (set, {
        { "Noise", "Noise", "Deviation from the reference value", AlxControlKind::range, 101, "0 %", 0.0 },
        { "Phase", "Phase", "LFO time offset in wavelengths (0.0=none, 1.0=max)", AlxControlKind::range, 101, "0.00", 0.0 },
        { "Level", "Level", "LFO amplitude level (0.0=min, 1.0=clipping level; 2.0=max)", AlxControlKind::range, 201, "2.00", 2.0 },
        { "Pulse width", "Pulse width", "LFO pulse width of square waveform, in wavelengths (0.0=none, 1.0=max)",
          AlxControlKind::range, 101, "0.50", 0.5 },
        { "DC Offset", "DC Offset", "Constant level added to the LFO signal (-1.0=min, 0.0=none, 1.0=max)",
          AlxControlKind::range, 101, "0.00", 0.0 },
        { "Frequency", "Frequency",
          "LFO frequency in wavelengths (LFO cycles) per time unit.\n"
          "Examples: 1 cycle per bar, 1/2 cycle per beat, 2 cycles every 1/4th note, ...",
          AlxControlKind::list, 63, "1", 1.0 },
        { "Per", "Per frequency unit", "Time unit for frequency, as bar-, beat-, or note-duration", AlxControlKind::list, 3, "Bar", 0.0 },
        { "Shape", "Waveform shape", "LFO waveform shape", AlxControlKind::list, 6, "Saw Up", 0.0 },
        { "LFO", "Selected LFO", "LFO selected for editing", AlxControlKind::radio, 2, "LFO1", 0.0 },
    });

    EXPECT_EQ (set.getDeviationDomain(), set.getDomain (0));
    EXPECT_EQ (set.getSelectedLFODomain(), set.getDomain (8));
}

TEST (AlxLFODomainSet, valuesOfTheListDomains)
{
    AlxLFODomainSet set;

    auto* frequency = set.getFrequencyDomain();
    EXPECT_EQ (frequency->getValues().front()->getText(), "1/32");
    EXPECT_EQ (frequency->getValues()[30]->getText(), "1/2");
    EXPECT_EQ (frequency->getValues()[31]->getText(), "1");
    EXPECT_EQ (frequency->getValues().back()->getText(), "32");
    EXPECT_EQ (frequency->getDefaultValue()->getIndex(), 31);

    auto* level = set.getLevelDomain();
    EXPECT_EQ (level->getDefaultValue(), level->getValues().back().get());
    EXPECT_EQ (level->getValues()[100]->getText(), "1.00");

    EXPECT_EQ (set.getDCOffsetDomain()->getValues().front()->getText(), "-1.00");
    EXPECT_EQ (set.getDeviationDomain()->getValues().back()->getText(), "100 %");
    EXPECT_DOUBLE_EQ (set.getDeviationDomain()->getValues().back()->getRealValue(), 1.0);

    auto* shapes = set.getWaveformDomain();
    EXPECT_EQ (texts (*shapes, &AlxValue::getText), (Texts { "Saw Up", "Saw Dn", "Tria", "Sin", "Square", "Flat" }));
    EXPECT_EQ (texts (*shapes, &AlxValue::getShortText),
               (Texts { "Sawtooth up", "Sawtooth down", "Triangle", "Sine", "Square", "Flat" }));
    EXPECT_EQ (texts (*shapes, &AlxValue::getLongText),
               (Texts { "Sawtooth waveform, uphill", "Sawtooth waveform, downhill", "Triangle waveform",
                        "Sine waveform", "Square waveform", "Flat waveform" }));
    EXPECT_EQ (reals (*shapes), (std::vector<double> { 0.0, 1.0, 2.0, 3.0, 4.0, 5.0 }));

    auto* units = set.getFrequencyUnitDomain();
    EXPECT_EQ (texts (*units, &AlxValue::getText), (Texts { "Bar", "Beat", "1/4" }));
    EXPECT_EQ (reals (*units), (std::vector<double> { 0.0, 1.0, 2.0 }));

    auto* selected = set.getSelectedLFODomain();
    EXPECT_EQ (texts (*selected, &AlxValue::getText), (Texts { "LFO1", "LFO2" }));
    EXPECT_EQ (texts (*selected, &AlxValue::getLongText), (Texts { "LFO1 Selected", "LFO2 Selected" }));
    EXPECT_EQ (reals (*selected), (std::vector<double> { 0.0, 1.0 }));
}

TEST (AlxTriggerDomainSet, domainsInOrder)
{
    AlxTriggerDomainSet set;
    expectDomains (set, {
        { "Gate", "Trigger gate",
          "Trigger gate controls note duration:\n0%=min; 100%=equal to trigger interval; >100%=note is extended after trigger interval",
          AlxControlKind::range, 161, "90 %", 0.9 },
        { "Velocity", "Trigger velocity", "Velocity applied to triggered notes", AlxControlKind::range, 100, "100", 1.0 },
        { "Step", "Trigger step interval", "Trigger interval is the time between two successively triggered notes",
          AlxControlKind::list, 13, "1/4", 1.0 },
    });

    EXPECT_EQ (set.getGateDomain(), set.getDomain (0));
    EXPECT_EQ (set.getIntervalDomain(), set.getDomain (2));
}

TEST (AlxTriggerDomainSet, gateVelocityAndStepValues)
{
    AlxTriggerDomainSet set;

    const auto& gates = set.getGateDomain()->getValues();
    EXPECT_EQ (gates.front()->getText(), "0 %");
    EXPECT_EQ (gates[99]->getText(), "99 %");
    EXPECT_EQ (gates[100]->getText(), "100 %");
    EXPECT_EQ (gates[101]->getText(), "105 %");
    EXPECT_DOUBLE_EQ (gates[101]->getRealValue(), 1.05);
    EXPECT_EQ (gates.back()->getText(), "400 %");
    EXPECT_DOUBLE_EQ (gates.back()->getRealValue(), 4.0);

    const auto& velocities = set.getVelocityDomain()->getValues();
    EXPECT_EQ (velocities.front()->getText(), "1");
    EXPECT_DOUBLE_EQ (velocities.front()->getRealValue(), 0.01);
    EXPECT_EQ (velocities[49]->getText(), "50");

    auto* steps = set.getIntervalDomain();
    EXPECT_EQ (texts (*steps, &AlxValue::getText),
               (Texts { "Off", "2", "1", "1/2", "1/4", "1/4T", "1/8", "1/8T", "1/16", "1/16T", "1/32", "1/32T", "1/64" }));
    EXPECT_EQ (texts (*steps, &AlxValue::getShortText), texts (*steps, &AlxValue::getText));
    EXPECT_EQ (texts (*steps, &AlxValue::getLongText),
               (Texts { "Triggering is disabled (infinite interval)", "Once every 2 whole notes (8 quarter notes)",
                        "Once every whole note  (4 quarter notes)", "Once every 1/2 note  (2 quarter notes)",
                        "Once every quarter note ", "Once every 1/4 note triplet", "Once every 1/8 note",
                        "Once every 1/8 note triplet", "Once every 1/16 note ", "Once every 1/16 note triplet",
                        "Once every 1/32 note ", "Once every 1/32 note triplet", "Once every 1/64 note" }));
    EXPECT_EQ (reals (*steps), (std::vector<double> { 0.0, 8.0, 4.0, 2.0, 1.0, 2.0 / 3.0, 0.5, 1.0 / 3.0, 0.25,
                                                      1.0 / 6.0, 0.125, 1.0 / 12.0, 0.0625 }));
}

TEST (AlxGrooveDomainSet, domainsAndPatterns)
{
    AlxGrooveDomainSet set;
    expectDomains (set, {
        { "Beats", "Groove beat pattern", "Groove beat pattern", AlxControlKind::list, 10, "Off", 0.0 },
        { "Groove", "Groove amount",
          "Amount of delay/speedup near selected beats. Negative values cause the beat to be early, positive values make it late",
          AlxControlKind::range, 101, "0.00", 0.0 },
        { "Width", "Groove width", "Width of the zone affected by groove", AlxControlKind::range, 101, "1.00", 1.0 },
    });

    auto* patterns = set.getPatternDomain();
    EXPECT_EQ (texts (*patterns, &AlxValue::getText),
               (Texts { "Off", "Beat 1", "Beat 2", "Beat 3", "Beat 4", "Odd beats", "Even beats", "Inner beats",
                        "Outer beats", "All beats" }));
    EXPECT_EQ (reals (*patterns), (std::vector<double> { 0, 1, 2, 4, 8, 5, 10, 6, 9, 15 }));
    EXPECT_EQ (patterns->getValues()[0]->getShortText(), "None");
    EXPECT_EQ (patterns->getValues()[0]->getLongText(), "Groove disabled");
    EXPECT_EQ (patterns->getValues()[1]->getLongText(), "");
    EXPECT_EQ (set.getAmountDomain()->getValues().front()->getText(), "-1.00");
    EXPECT_EQ (set.getAmountDomain()->getDefaultValue()->getIndex(), 50);
}

TEST (AlxArpDomainSet, domainsAndValues)
{
    AlxArpDomainSet set;
    expectDomains (set, {
        { "Voicing", "Voicing", "Controls voicing (spreading) of the notes within the chord", AlxControlKind::list, 12, "Root", 0.0 },
        { "Doubling", "Doubling", "Controls doubling of notes within the chord", AlxControlKind::list, 8, "None", 0.0 },
        { "Arp mask", "Arpeggio note mask",
          "Controls the current mask of active notes in the arpeggiated note sequence.\n"
          "Modulate this with an LFO to obtain an arpeggio effect.",
          AlxControlKind::list, 17, "All", 511.0 },
    });

    auto* doublings = set.getDoublingDomain();
    EXPECT_EQ (texts (*doublings, &AlxValue::getText),
               (Texts { "None", "Oct", "5th", "4th", "Oct+5th", "Oct+4th", "5th+4th", "Oct+5+4" }));
    EXPECT_EQ (texts (*doublings, &AlxValue::getShortText),
               (Texts { "No doubling", "Add octave below", "Add 5th above", "Add 4th below", "Add oct+5th",
                        "Add oct+4th", "Add 5th+4th", "Add oct+5th+4th" }));
    EXPECT_EQ (reals (*doublings), (std::vector<double> { 0, 64, 32, 16, 96, 80, 48, 112 }));

    auto* masks = set.getArpeggioDomain();
    EXPECT_EQ (texts (*masks, &AlxValue::getText),
               (Texts { "None", "1", "2", "3", "4", "1+2", "1+3", "1+4", "2+3", "2+4", "3+4", "1+2+3", "1+2+4", "1+3+4",
                        "2+3+4", "1+2+3+4", "All" }));
    EXPECT_EQ (masks->getValues()[6]->getShortText(), "Note 1+3");
    EXPECT_EQ (masks->getValues()[0]->getShortText(), "No notes");
    EXPECT_EQ (masks->getValues()[16]->getShortText(), "All notes");
    EXPECT_EQ (reals (*masks), (std::vector<double> { 0, 1, 2, 4, 8, 3, 5, 9, 6, 10, 12, 7, 11, 13, 14, 15, 511 }));

    struct Voicing { int index; const char* text; const char* shortText; const char* longText; AlxArpVoicingValue::Offsets offsets; };

    for (auto& v : { Voicing { 0, "Root", "Root position", "Root position", { 0, 0, 0, 0, 0, 0, 0 } },
                     Voicing { 7, "-3rd inv", "Downward 3rd inversion", "Downward third inversion", { 0, -12, -12, -12, -12, 0, 0 } },
                     Voicing { 9, "Open", "Open", "Spread chord", { -12, 0, 0, 12, 24, 24, 24 } },
                     Voicing { 11, "Open++", "Open++", "Spread chord most", { -24, -12, 12, 24, 36, 0, 0 } } })
    {
        auto* value = dynamic_cast<AlxArpVoicingValue*> (set.getVoicingDomain()->getValues()[(size_t) v.index].get());
        ASSERT_NE (value, nullptr);
        EXPECT_EQ (value->getText(), v.text);
        EXPECT_EQ (value->getShortText(), v.shortText);
        EXPECT_EQ (value->getLongText(), v.longText);
        EXPECT_EQ (value->getOffsets(), v.offsets);
        EXPECT_EQ (value->getRealValue(), 0.0);
    }
}
