#include "framework/AlxGeneralDomainSet.h"
#include "framework/AlxLinkParameterSet.h"
#include "framework/AlxParameterMap.h"
#include "framework/AlxRealParameter.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

namespace
{
    // A device list: named (stored by text) and rebuilt from names, as MIDI device lists are.
    struct DeviceListDomain : AlxListDomain
    {
        explicit DeviceListDomain (AlxDomainSet* set) : AlxListDomain (set, "dev", "dev", "dev") { rebuild ({}); }

        bool isIndexed() const override { return false; }
        bool isNamed() const override { return true; }

        void rebuild (const juce::StringArray& names)
        {
            {
                const juce::ScopedLock sl (getLock());
                clearValues();
                addValue ("Not connected", 0.0);

                for (auto& n : names)
                    addValue (n, 0.0);

                finishValues (0);
            }

            postMessage (this, AlxMessageCode::make (AlxMessageCode::deviceValuesRebuilt, AlxMessageCode::fromRebuild));
        }
    };

    // A tempo-like continuous domain accepting 20..999.
    struct TempoDomain : AlxListDomain
    {
        explicit TempoDomain (AlxDomainSet* set) : AlxListDomain (set, "Bpm", "Beats per minute", "Tempo", AlxControlKind::numeric)
        {
            addValue ("120.00", 120.0);
            finishValues (0);
        }

        bool isIndexed() const override { return false; }
        bool acceptsRealValue (float v) const override { return v >= 20.0f && v <= 999.0f; }
    };

    struct Domains : AlxDomainSet
    {
        Domains()
        {
            devices = add<DeviceListDomain>();
            tempo = add<TempoDomain>();
        }

        DeviceListDomain* devices;
        TempoDomain* tempo;
    };

    struct ParameterFixture : testing::Test
    {
        AlxGeneralDomainSet general;
        Domains domains;
        AlxParameterSet set;
        AlxRecordingSink sink;

        AlxParameter* add (int id, AlxDomain* domain, int hostIndex = -1, const juce::String& name = {})
        {
            auto* p = set.add (std::make_unique<AlxRealParameter> (&set, id, hostIndex, domain, false, name));
            set.rebuildIdTable();
            p->addSink (&sink);
            return p;
        }

        AlxValue* percent (int i) const { return general.getPercentageDomain()->getValues()[(size_t) i].get(); }
    };
}

TEST_F (ParameterFixture, startsAtTheDomainDefault)
{
    auto* p = add (0, general.getProbabilityDomain());
    EXPECT_EQ (p->getValue()->getText(), "1.00");
    EXPECT_EQ (p->getValueIndex(), 100);

    auto* t = add (1, domains.tempo);
    EXPECT_EQ (t->getValue(), nullptr);
    EXPECT_FLOAT_EQ (t->getRealValue(), 120.0f);
}

TEST_F (ParameterFixture, settingTheCurrentValuePostsOnlyWhenForced)
{
    auto* p = add (0, general.getPercentageDomain());
    p->setValue (percent (0), 2, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (sink.records.empty());

    p->setValue (percent (0), 2, true, true);
    p->setValue (percent (40), 3, false, true);
    p->setValue (percent (41), 0, false, true);
    p->setValue (percent (42), 2, false, false);
    AlxMessageLoop::deliverPending();

    ASSERT_EQ (sink.records.size(), 3u);
    EXPECT_EQ (sink.records[0].code, 0x102);
    EXPECT_EQ (sink.records[1].code, 0x103);
    EXPECT_EQ (sink.records[2].code, 0x105);
    EXPECT_EQ (p->getValue(), percent (42));
    EXPECT_FLOAT_EQ (p->getRealValue(), percent (42)->getNormalised());
}

TEST_F (ParameterFixture, refusesNullAndValuesOfOtherDomains)
{
    auto* p = add (0, general.getPercentageDomain());
    p->setValue (percent (10), 2, false, false);
    p->setValue (nullptr, 2, true, true);
    p->setValue (general.getUnitScaleDomain()->getValues()[50].get(), 2, true, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValue(), percent (10));
    EXPECT_TRUE (sink.records.empty());
}

TEST_F (ParameterFixture, aRejectedRealValueStaysUnchangedButStillPosts)
{
    auto* t = add (0, domains.tempo);
    t->setRealValue (133.5f, 2, false, true);
    t->setRealValue (1000.0f, 2, false, true);
    t->setRealValue (133.5f, 2, false, true);
    AlxMessageLoop::deliverPending();

    EXPECT_FLOAT_EQ (t->getRealValue(), 133.5f);
    EXPECT_EQ (sink.countKind (AlxMessageCode::valueChanged), 2);
}

TEST_F (ParameterFixture, aRebuiltDeviceListReselectsByTextAndFallsBackToTheDefault)
{
    domains.devices->rebuild ({ "Keys", "Pads" });
    auto* p = add (0, domains.devices);
    p->setValue (domains.devices->findByText ("Pads"), 2, false, false);

    domains.devices->rebuild ({ "Pads", "Drums" });
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValue()->getText(), "Pads");

    sink.clear();
    domains.devices->rebuild ({ "Drums" });
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValue()->getText(), "Not connected");
    ASSERT_EQ (sink.records.size(), 2u);
    EXPECT_EQ (sink.records[0].code, 0x104);
    EXPECT_EQ (sink.records[1].code, 0x704);
    EXPECT_EQ (sink.records[1].source, p);

    // The remembered text is now the default's: a device coming back is not re-selected.
    domains.devices->rebuild ({ "Pads", "Drums" });
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (p->getValue()->getText(), "Not connected");
}

TEST_F (ParameterFixture, xmlStoresIdsTextsOrNumbersByDomainKind)
{
    domains.devices->rebuild ({ "Keys" });
    auto* indexed = add (0, general.getPercentageDomain());
    auto* named = add (1, domains.devices);
    auto* continuous = add (2, domains.tempo);
    indexed->setValue (percent (25), 5, false, false);
    named->setValue (domains.devices->findByText ("Keys"), 5, false, false);
    continuous->setRealValue (133.5f, 5, false, false);

    const auto format = juce::XmlElement::TextFormat().singleLine().withoutHeader();
    EXPECT_EQ (indexed->createXml()->toString (format), "<pv i=\"0\" v=\"25\"/>");
    EXPECT_EQ (named->createXml()->toString (format), "<pv i=\"1\" v=\"Keys\"/>");
    EXPECT_EQ (continuous->createXml()->toString (format), "<pv i=\"2\" v=\"133.5\"/>");
    continuous->setRealValue (120.0f, 5, false, false);
    EXPECT_EQ (continuous->createXml()->toString (format), "<pv i=\"2\" v=\"120\"/>");

    auto doc = juce::parseXML ("<ps><pv i=\"0\" v=\"60\"/><pv i=\"1\" v=\"Keys\"/><pv i=\"2\" v=\"99.25\"/></ps>");
    named->setValue (domains.devices->findByText ("Not connected"), 5, false, false);
    set.restoreXml (*doc, false);
    EXPECT_EQ (indexed->getValue(), percent (60));
    EXPECT_EQ (named->getValue()->getText(), "Keys");
    EXPECT_FLOAT_EQ (continuous->getRealValue(), 99.25f);
}

TEST_F (ParameterFixture, unknownIdsAndValuesAreSkippedAndTheRestLoads)
{
    auto* a = add (0, general.getPercentageDomain());
    auto* b = add (3, general.getPercentageDomain());
    a->setValue (percent (5), 5, false, false);

    auto doc = juce::parseXML ("<ps i=\"7\"><pv i=\"9\" v=\"1\"/><pv i=\"0\" v=\"500\"/><pv v=\"2\"/><pv i=\"3\" v=\"33\"/><junk/></ps>");
    set.restoreXml (*doc, false);

    EXPECT_EQ (a->getValue(), percent (5));
    EXPECT_EQ (b->getValue(), percent (33));
    EXPECT_EQ (set.getId(), 7);

    // A pv addressed to another parameter changes nothing.
    a->restoreXml (*juce::parseXML ("<pv i=\"3\" v=\"90\"/>"), true, false);
    EXPECT_EQ (a->getValue(), percent (5));
}

TEST_F (ParameterFixture, setXmlNestsSubsetsAndIgnoresSurplusOnes)
{
    add (0, general.getPercentageDomain());
    auto* sub = set.addSubset (std::make_unique<AlxParameterSet>());
    sub->setId (4);
    auto* inner = sub->add (std::make_unique<AlxRealParameter> (sub, 1, -1, general.getPercentageDomain()));
    sub->rebuildIdTable();

    const auto format = juce::XmlElement::TextFormat().singleLine().withoutHeader();
    EXPECT_EQ (set.createXml()->toString (format),
               "<ps><pv i=\"0\" v=\"0\"/><cs><ps i=\"4\"><pv i=\"1\" v=\"0\"/></ps></cs></ps>");

    auto doc = juce::parseXML ("<ps><cs><ps><pv i=\"1\" v=\"12\"/></ps><ps><pv i=\"1\" v=\"99\"/></ps></cs></ps>");
    set.restoreXml (*doc, false);
    EXPECT_EQ (inner->getValue(), percent (12));
}

TEST_F (ParameterFixture, flagsPostTheirKindsOnlyOnChange)
{
    auto* p = add (0, general.getPercentageDomain());
    p->setGestureActive (true);
    p->setGestureActive (true);
    p->setGestureActive (false);
    p->setFocused (true);
    p->setFocused (true);
    p->setEnabled (false, true);
    p->setEnabled (true, false);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (sink.count (p, 0x405), 2);
    EXPECT_EQ (sink.count (p, 0x1D05), 1);
    EXPECT_EQ (sink.count (p, 0x205), 1);
    EXPECT_TRUE (p->isFocused());
    EXPECT_TRUE (p->isEnabled());
}

TEST_F (ParameterFixture, namesFallBackToTheDomainAndCarryPrefixAndSuffix)
{
    auto* p = add (0, general.getPercentageDomain());
    auto* q = add (1, general.getPercentageDomain(), -1, "Gate");
    EXPECT_EQ (p->getName(), "%");
    EXPECT_EQ (p->getLabel(), "Percentage");
    EXPECT_EQ (p->getDescription(), "Percentage range from 0..100%");

    set.setPrefixForAll ("L1/");
    set.setSuffixForAll ({});
    EXPECT_EQ (q->getFullName(), "L1/Gate");
    set.setSuffixForAll ("!");
    EXPECT_EQ (p->getFullName(), "L1/%!");
}

TEST (AlxLinkParameterSet, forwardsToTheTargetProgramAndRetargetsSilentlyUntilResent)
{
    AlxGeneralDomainSet general;
    auto* domain = general.getPercentageDomain();
    AlxParameterSet programA, programB;

    for (auto* program : { &programA, &programB })
    {
        program->setName ("prog");
        program->add (std::make_unique<AlxRealParameter> (program, 0, 5, domain));
        program->add (std::make_unique<AlxRealParameter> (program, 1, 6, domain));
        program->rebuildIdTable();
    }

    programB.getParameter (0)->setValue (domain->getValues()[70].get(), 5, false, false);

    AlxLinkParameterSet links (programA);
    EXPECT_EQ (links.getName(), "progLinks");
    AlxRecordingSink sink;
    links.addSinkToAll (&sink);
    auto* link = links.getParameter (0);
    EXPECT_EQ (link->getId(), 0);
    EXPECT_EQ (link->getHostIndex(), 5);
    EXPECT_EQ (links.findById (1), links.getParameter (1));

    link->setValue (domain->getValues()[10].get(), 2, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (programA.getParameter (0)->getValue(), domain->getValues()[10].get());
    ASSERT_EQ (sink.records.size(), 1u);
    EXPECT_EQ (sink.records[0].source, link);
    EXPECT_EQ (sink.records[0].code, 0x102);

    sink.clear();
    links.retarget (programB);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (link->getValue(), domain->getValues()[70].get());
    EXPECT_TRUE (sink.records.empty());

    // Program A's parameter no longer reaches the link's observers.
    programA.getParameter (0)->setValue (domain->getValues()[11].get(), 2, false, true);
    links.resendAll();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (sink.records.size(), 2u);
    EXPECT_EQ (sink.count (link, 0x105), 1);
}

TEST (AlxLinkParameter, keepsItsOwnFocus)
{
    AlxGeneralDomainSet general;
    AlxParameterSet program;
    program.add (std::make_unique<AlxRealParameter> (&program, 0, -1, general.getPercentageDomain()));
    program.rebuildIdTable();
    AlxLinkParameterSet links (program);
    AlxRecordingSink sink;
    links.addSinkToAll (&sink);

    links.getParameter (0)->setFocused (true);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (links.getParameter (0)->isFocused());
    EXPECT_FALSE (program.getParameter (0)->isFocused());
    EXPECT_EQ (sink.count (links.getParameter (0), 0x1D05), 1);
}

TEST (AlxParameterMap, countsOnlyHostVisibleParametersAndTheFirstRegistrationWins)
{
    AlxGeneralDomainSet general;
    auto* domain = general.getPercentageDomain();
    AlxParameterSet a, b;
    a.add (std::make_unique<AlxRealParameter> (&a, 0, 0, domain));
    a.add (std::make_unique<AlxRealParameter> (&a, 1, -1, domain));
    a.add (std::make_unique<AlxRealParameter> (&a, 2, -2, domain));
    b.add (std::make_unique<AlxRealParameter> (&b, 0, 0, domain));
    b.add (std::make_unique<AlxRealParameter> (&b, 1, 1, domain));

    AlxParameterMap map;
    map.registerSet (a);
    map.registerSet (b);
    map.registerSet (b);

    EXPECT_EQ (map.getNumParameters(), 2);
    EXPECT_EQ (map.size(), 4);
    EXPECT_EQ (map.lookup (0), a.getParameter (0));
    EXPECT_EQ (map.lookup (1), b.getParameter (1));
    EXPECT_EQ (map.lookup (7), nullptr);
}
