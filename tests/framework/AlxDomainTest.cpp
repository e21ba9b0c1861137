#include "framework/AlxGeneralDomainSet.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    struct GeneralDomainRow
    {
        int position;
        const char* name;
        const char* label;
        const char* description;
        int numValues;
        const char* firstText;
        const char* lastText;
        const char* defaultText;
        AlxControlKind kind;
    };

    const GeneralDomainRow generalDomains[] = {
        { 0, "null", "null", "", 1, "null", "null", "null", AlxControlKind::list },
        { 1, "Harmonic", "Harmonic", "Harmonic number", 63, "1/32", "32", "1", AlxControlKind::list },
        { 2, "0..1", "Scale 0..1", "Unit scale from 0.0 to 1.0", 101, "0.00", "1.00", "0.00", AlxControlKind::range },
        { 3, "-1..1", "Scale -1..1", "Signed unit scale from -1.0 to 1.0", 101, "-1.00", "1.00", "0.00", AlxControlKind::range },
        { 4, "%", "Percentage", "Percentage range from 0..100%", 101, "0 %", "100 %", "0 %", AlxControlKind::range },
        { 5, "Probability", "Probability", "Probability of occurrence", 101, "0.00", "1.00", "1.00", AlxControlKind::range },
        { 6, "On/Off", "On/Off switch", "On/Off switch", 2, "Off", "On", "Off", AlxControlKind::onOff },
        { 7, "ModSrc", "Modulation source", "Modulation source used to control values of other parameters", 3, "None", "LFO2", "None", AlxControlKind::list },
    };

    // A domain with two values, the smallest case for position lookups.
    struct TwoValueDomain : AlxListDomain
    {
        explicit TwoValueDomain (AlxDomainSet* set) : AlxListDomain (set, "two", "two", "two")
        {
            addValue ("a", 0.0);
            addValue ("b", 1.0);
            finishValues (0);
        }
    };

    struct CommandDomain : AlxListDomain
    {
        explicit CommandDomain (AlxDomainSet* set) : AlxListDomain (set, "cmd", "cmd", "cmd")
        {
            addValue ("x", 0.0);
            finishValues (0);
            addCommand (10, "Configure...");
        }
    };

    struct TestDomainSet : AlxDomainSet
    {
        TestDomainSet()
        {
            two = add<TwoValueDomain>();
            command = add<CommandDomain>();
            range = add<AlxRangeDomain> (0.0, 1.0, 0.3, 0.5);
        }

        TwoValueDomain* two;
        CommandDomain* command;
        AlxRangeDomain* range;
    };
}

TEST (AlxGeneralDomainSet, holdsTheEightGeneralDomainsInTheirOrder)
{
    AlxGeneralDomainSet set;
    ASSERT_EQ (set.getDomains().size(), 8u);

    for (auto& row : generalDomains)
    {
        SCOPED_TRACE (row.name);
        auto* d = set.getDomain (row.position);
        ASSERT_NE (d, nullptr);
        EXPECT_EQ (d->getName(), row.name);
        EXPECT_EQ (d->getLabel(), row.label);
        EXPECT_EQ (d->getDescription(), row.description);
        ASSERT_EQ (d->getNumValues(), row.numValues);
        EXPECT_EQ (d->getValues().front()->getText(), row.firstText);
        EXPECT_EQ (d->getValues().back()->getText(), row.lastText);
        EXPECT_EQ (d->getDefaultValue()->getText(), row.defaultText);
        EXPECT_EQ (d->getControlKind(), row.kind);
        EXPECT_TRUE (d->isIndexed());
        EXPECT_FALSE (d->isNamed());

        // Every domain built by adding values: id = index = position in the list, positions
        // ascending from 0 in steps of 1/N.
        for (int i = 0; i < d->getNumValues(); ++i)
        {
            auto& v = *d->getValues()[(size_t) i];
            EXPECT_EQ (v.getId(), i);
            EXPECT_EQ (v.getIndex(), i);
            EXPECT_NEAR (v.getNormalised(), (float) i / (float) row.numValues, 1.0e-5f);
        }
    }
}

TEST (AlxGeneralDomainSet, valuesCarryTheirNumbers)
{
    AlxGeneralDomainSet set;
    auto* harmonic = set.getHarmonicDomain();
    EXPECT_DOUBLE_EQ (harmonic->findByText ("1/4")->getRealValue(), 0.25);
    EXPECT_DOUBLE_EQ (harmonic->findByText ("12")->getRealValue(), 12.0);
    EXPECT_EQ (harmonic->getDefaultValue()->getIndex(), 31);

    EXPECT_DOUBLE_EQ (set.getPercentageDomain()->findByText ("37 %")->getRealValue(), 0.37);
    EXPECT_DOUBLE_EQ (set.getSUnitScaleDomain()->getDefaultValue()->getRealValue(), 0.0);
    EXPECT_EQ (set.getModulationSourceDomain()->findByText ("LFO1")->getLongText(), "Modulated by LFO 1");
    EXPECT_EQ (set.getOnOffSwitchDomain()->findByText ("On")->getLongText(), "Switched on");
    EXPECT_TRUE (set.getNullDomain()->getValues().front()->getShortText() == "null");
}

TEST (AlxRealDomain, findByNormalisedSelectsTheBinWhoseLowerEdgeIsBelow)
{
    TestDomainSet set;
    auto* d = set.two;
    EXPECT_EQ (d->findByNormalised (0.0f)->getText(), "a");
    EXPECT_EQ (d->findByNormalised (0.4999f)->getText(), "a");
    EXPECT_EQ (d->findByNormalised (0.5f)->getText(), "b");
    EXPECT_EQ (d->findByNormalised (1.0f)->getText(), "b");
    EXPECT_EQ (d->findByNormalised (-0.01f), nullptr);
}

TEST (AlxRealDomain, findByHostPositionNeverGivesNoValueForANumber)
{
    TestDomainSet set;
    auto* d = set.two;
    EXPECT_EQ (d->findByHostPosition (-0.5f)->getText(), "a");
    EXPECT_EQ (d->findByHostPosition (-1.0e30f)->getText(), "a");
    EXPECT_EQ (d->findByHostPosition (7.0f)->getText(), "b");
    EXPECT_EQ (d->findByHostPosition (0.75f)->getText(), "b");
    EXPECT_EQ (d->findByHostPosition (0.49f)->getText(), "a");
    EXPECT_EQ (d->findByHostPosition (std::nanf ("")), nullptr);

    EXPECT_EQ (set.command->hostPositionOf (set.command->getValues()[0].get()), 0.0f) << "a single value stands at 0";
    EXPECT_EQ (set.command->findByHostPosition (0.8f)->getText(), "x");
}

// Every value of every general domain stands on the host's step i/(N-1), and every position
// within half a step of it comes back as that value: a host that sets a choice at its own step
// reads back the same step and the same text, in the upper half of a list as in the lower.
TEST (AlxRealDomain, everyValueRoundTripsThroughItsHostStep)
{
    AlxGeneralDomainSet set;
    TestDomainSet test;
    std::vector<AlxDomain*> domains { test.two, test.range };

    for (auto& row : generalDomains)
        if (row.numValues > 1)
            domains.push_back (set.getDomain (row.position));

    for (auto* d : domains)
    {
        SCOPED_TRACE (d->getName());
        const int lastStep = d->getNumValues() - 1;
        const float halfStep = 0.5f / (float) lastStep;

        for (int i = 0; i <= lastStep; ++i)
        {
            auto* v = d->getValues()[(size_t) i].get();
            const float step = (float) i / (float) lastStep;
            EXPECT_FLOAT_EQ (d->hostPositionOf (v), step) << v->getText();
            EXPECT_EQ (d->findByHostPosition (d->hostPositionOf (v)), v);
            EXPECT_EQ (d->findByHostPosition (step - 0.98f * halfStep), v);
            EXPECT_EQ (d->findByHostPosition (step + 0.98f * halfStep), v);
        }
    }
}

TEST (AlxRangeDomain, countsWholeStepsAndFallsBackToTheFirstValueForAnUnmatchedDefault)
{
    TestDomainSet set;
    auto* r = set.range;
    ASSERT_EQ (r->getNumValues(), 4);
    EXPECT_EQ (r->getValues()[0]->getText(), "0.00");
    EXPECT_EQ (r->getValues()[1]->getText(), "0.30");
    EXPECT_EQ (r->getValues()[2]->getText(), "0.60");
    EXPECT_EQ (r->getValues()[3]->getText(), "0.90");
    EXPECT_EQ (r->getDefaultValue(), r->getValues()[0].get());
    EXPECT_EQ (r->getName(), "0.00..1.00");
    EXPECT_EQ (r->getLabel(), "Range 0.00..1.00");
    EXPECT_EQ (r->getDescription(), "Range from 0.00..1.00");
    EXPECT_EQ (r->getControlKind(), AlxControlKind::range);
}

TEST (AlxRealDomain, stepsWithinTheListAndGivesNullBeyondIt)
{
    AlxGeneralDomainSet set;
    auto* d = set.getPercentageDomain();
    auto* first = d->getValues().front().get();
    auto* last = d->getValues().back().get();

    EXPECT_EQ (d->nextValue (first, 3)->getText(), "3 %");
    EXPECT_EQ (d->previousValue (last, 2)->getText(), "98 %");
    EXPECT_EQ (d->nextValue (first, 0), first);
    EXPECT_EQ (d->nextValue (last, 1), nullptr);
    EXPECT_EQ (d->nextValue (first, 1000), nullptr);
    EXPECT_EQ (d->previousValue (first, 1), nullptr);
    EXPECT_EQ (d->nextValue (nullptr, 1), nullptr);
    EXPECT_EQ (d->previousValue (nullptr, 0), nullptr);
}

TEST (AlxRealDomain, lookupsByIdRealValueTextAndParsedText)
{
    AlxGeneralDomainSet set;
    auto* d = set.getHarmonicDomain();
    EXPECT_EQ (d->findById (40)->getText(), "10");
    EXPECT_EQ (d->findById (63), nullptr);
    EXPECT_EQ (d->findByRealValue (0.5)->getText(), "1/2");
    EXPECT_EQ (d->findByRealValue (0.51), nullptr);
    EXPECT_EQ (d->findByText ("1/3")->getIndex(), 29);
    EXPECT_EQ (d->findByText ("1/3 "), nullptr);
    EXPECT_EQ (d->findByParsedText (7.0)->getText(), "7");
}

TEST (AlxRealDomain, xmlWritesEveryValueAndRestoresTextsByPosition)
{
    TestDomainSet set;
    auto* d = set.range;
    auto xml = d->createXml();
    EXPECT_EQ (xml->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<dom n=\"0.00..1.00\"><val i=\"0\" n=\"0.00\"/><val i=\"1\" n=\"0.30\"/><val i=\"2\" n=\"0.60\"/><val i=\"3\" n=\"0.90\"/></dom>");

    // Fewer children leave the rest alone; other tags keep their slot; the i attribute is not read.
    auto fewer = juce::parseXML ("<dom n=\"ignored\"><val i=\"9\" n=\"zero\"/><other n=\"skipped\"/><val n=\"two\"/></dom>");
    d->restoreXml (*fewer, false);
    EXPECT_EQ (d->getValues()[0]->getText(), "zero");
    EXPECT_EQ (d->getValues()[1]->getText(), "0.30");
    EXPECT_EQ (d->getValues()[2]->getText(), "two");
    EXPECT_EQ (d->getValues()[3]->getText(), "0.90");

    auto more = juce::parseXML ("<dom><val n=\"a\"/><val n=\"b\"/><val n=\"c\"/><val n=\"d\"/><val n=\"e\"/></dom>");
    d->restoreXml (*more, false);
    EXPECT_EQ (d->getValues()[3]->getText(), "d");
}

TEST (AlxRealDomain, textChangesAndCommandsArePostedOnTheDomain)
{
    TestDomainSet set;
    AlxRecordingSink sink;
    set.command->addSink (&sink);

    set.command->getValues()[0]->setText ("renamed", 0x503, true);
    set.command->getValues()[0]->setText ("quiet", 0x503, false);
    set.command->postCommand (set.command->findCommand (10));
    set.command->postCommand (nullptr);
    AlxMessageLoop::deliverPending();

    ASSERT_EQ (sink.records.size(), 2u);
    EXPECT_EQ (sink.records[0].code, 0x503);
    EXPECT_EQ (sink.records[1].code, 0x0A06);
    EXPECT_EQ (sink.records[1].source, set.command);
    EXPECT_EQ (set.command->findCommand (10)->getText(), "Configure...");
    EXPECT_EQ (set.command->findCommand (11), nullptr);
}

TEST (AlxValue, textsFallBackAndFormat)
{
    TestDomainSet set;
    auto& v = *set.two->getValues()[1];
    EXPECT_EQ (v.getShortText(), "b");
    v.setShortText ("B!", 0, false);
    EXPECT_EQ (v.getShortText(), "B!");
    v.setTextFormatted (4.5, 0, "%1.1f dB", false);
    EXPECT_EQ (v.getText(), "4.5 dB");
    EXPECT_DOUBLE_EQ (v.getTextAsNumber(), 4.5);
    v.setText ({}, 0, false);
    EXPECT_EQ (v.getText(), "0.500000");
}
