#include "modules/AlxLFODomainSet.h"
#include "modules/AlxTransportDomainSet.h"

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
