#include "AlxStateTestTree.h"

#include "core/AlxLegacyDocument.h"
#include "core/AlxPlimsarFilter.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

namespace
{
    juce::String value (int legacyIndex, const juce::String& text)
    {
        return "<v i=\"" + juce::String (legacyIndex) + "\" v=\"" + text + "\"/>";
    }

    // A 1.0 program element: its three groups hold the values of legacy indices 0-16, 17-24 and
    // 25-32, each value derived from the program number so programs differ.
    juce::String legacyProgram (const char* tag, const juce::String& name, int program)
    {
        juce::String groups[3];

        for (int index = 0; index <= 32; ++index)
            groups[index < 17 ? 0 : (index < 25 ? 1 : 2)] << value (index, juce::String ((program + index) % 100));

        return juce::String ("<") + tag + " name=\"" + name + "\"><a>" + groups[0] + "</a><b>" + groups[1] + "</b><c>"
               + groups[2] + "</c></" + tag + ">";
    }

    // A 1.0 bank; its global values in legacy order -9 ... -1.
    juce::String legacyBank (const juce::StringArray& globals, int programs = 128)
    {
        juce::String text = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.12\"><x/><y/><globals>";

        for (int i = 0; i < globals.size(); ++i)
            text << value (i - 9, globals[i]);

        text << "</globals><fxb>";

        for (int program = 0; program < programs; ++program)
            text << legacyProgram ("p", "Old " + juce::String (program), program);

        return text + "</fxb></plugin>";
    }

    const juce::StringArray standardGlobals { "1", "2", "3", "10", "20", "4", "4", "55", "6" };

    std::unique_ptr<juce::XmlElement> convert (const juce::String& legacy, const juce::String& tag)
    {
        auto element = juce::parseXML (legacy);
        return AlxLegacyDocument::convert (*element, tag, "plimsar", "1.5.544", AlxLegacyDocument::mapParameter);
    }

    // Each module of a converted document with the names of its children: "4000: glob pgms".
    juce::StringArray outline (const juce::XmlElement& mod)
    {
        juce::StringArray lines;
        juce::String children;

        for (auto* child : mod.getChildIterator())
            children << " " << child->getTagName();

        lines.add (mod.getStringAttribute ("i") + ":" + children);

        if (auto* cm = mod.getChildByName ("cm"))
            for (auto* child : cm->getChildWithTagNameIterator ("mod"))
                lines.addArray (outline (*child));

        return lines;
    }

    juce::String textOf (const juce::XmlElement& element)
    {
        return element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    }
}

TEST (AlxLegacyDocument, mapsEveryLegacyIndex)
{
    struct Case { int index, moduleId, parameterId; };
    const Case cases[] = {
        { -10, 0, 0 }, { -9, 7000, 0 }, { -8, 310100, 1 }, { -7, 310100, 0 }, { -6, 300100, 0 }, { -5, 300100, 0 },
        { -4, 2000, 2 }, { -3, 2000, 1 }, { -2, 2000, 0 }, { -1, 1000, 0 }, { 0, 8000, 0 }, { 1, 4000, 0 },
        { 6, 4000, 5 }, { 7, 6000, 0 }, { 10, 6000, 3 }, { 11, 5000, 0 }, { 16, 5000, 5 }, { 17, 700100, 0 },
        { 24, 700100, 7 }, { 25, 700101, 0 }, { 32, 700101, 7 }, { 33, 0, 0 }, { std::numeric_limits<int>::min(), 0, 0 },
    };

    AlxModuleContainer container;
    AlxPlimsarModule root (&container);

    for (auto& c : cases)
    {
        int moduleId = -1, parameterId = -1;
        bool isGlobal = false;
        root.mapLegacyParameter (c.index, moduleId, parameterId, isGlobal);
        EXPECT_EQ (moduleId, c.moduleId) << c.index;
        EXPECT_EQ (parameterId, c.parameterId) << c.index;
        EXPECT_EQ (isGlobal, c.index < 0) << c.index;
    }
}

TEST (AlxLegacyDocument, convertsAProgramIntoOneProgramOfEveryModule)
{
    const auto legacy = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.7\"><fxp name=\"Deep &amp; low\">"
                        "<a>" + value (0, "77") + value (1, "4") + value (7, "2") + value (11, "50") + value (40, "9") + value (-2, "90") + "</a>"
                        "<b>" + value (17, "31") + "</b><c>" + value (32, "5") + "</c></fxp></plugin>";

    const auto converted = convert (legacy, "fxp");
    ASSERT_NE (converted, nullptr);
    EXPECT_EQ (textOf (*converted),
               "<fxp><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"><cm>"
               "<mod i=\"1000\"><ext><val i=\"0\" n=\"Deep &amp; low\"/></ext><pgm i=\"0\"><ps/></pgm></mod>"
               "<mod i=\"2000\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"90\"/></ps></pgm></mod>"
               "<mod i=\"3000\"><cm><mod i=\"300100\"><pgm i=\"0\"><ps/></pgm></mod></cm></mod>"
               "<mod i=\"3100\"><cm><mod i=\"310100\"><pgm i=\"0\"><ps/></pgm></mod></cm></mod>"
               "<mod i=\"4000\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"4\"/></ps></pgm></mod>"
               "<mod i=\"5000\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"50\"/></ps></pgm></mod>"
               "<mod i=\"6000\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"2\"/></ps></pgm></mod>"
               "<mod i=\"7000\"><cm><mod i=\"700100\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"31\"/></ps></pgm></mod>"
               "<mod i=\"700101\"><pgm i=\"0\"><ps><pv i=\"7\" v=\"5\"/></ps></pgm></mod></cm></mod>"
               "<mod i=\"8000\"><pgm i=\"0\"><ps><pv i=\"0\" v=\"77\"/></ps></pgm></mod>"
               "</cm></mod></fxp>");
}

TEST (AlxLegacyDocument, convertsABankIntoGlobalAndProgramSettingsOfEveryModule)
{
    const auto converted = convert (legacyBank (standardGlobals), "fxb");
    ASSERT_NE (converted, nullptr);
    ASSERT_TRUE (converted->hasTagName ("fxb"));
    auto* root = converted->getFirstChildElement();
    EXPECT_EQ (textOf (*root).upToFirstOccurrenceOf ("<cm>", false, false), "<mod i=\"4\" n=\"plimsar\" v=\"1.5.544\">");

    EXPECT_EQ (outline (*root), juce::StringArray ({ "4: cm", "1000: ext glob pgms", "2000: glob pgms", "3000: cm",
                                                     "300100: glob pgms", "3100: cm", "310100: glob pgms", "4000: glob pgms",
                                                     "5000: glob pgms", "6000: glob pgms", "7000: glob cm", "700100: glob pgms",
                                                     "700101: glob pgms", "8000: glob pgms" }));

    auto module = [&] (const char* id) { return root->getChildByName ("cm")->getChildByAttribute ("i", id); };
    auto* input = module ("3000")->getChildByName ("cm")->getChildByName ("mod");
    EXPECT_EQ (textOf (*input->getChildByName ("glob")), "<glob><ps><pv i=\"0\" v=\"10\"/><pv i=\"0\" v=\"20\"/></ps></glob>")
        << "both -6 and -5 stay, in legacy order";
    EXPECT_EQ (textOf (*module ("2000")->getChildByName ("glob")),
               "<glob><ps><pv i=\"2\" v=\"4\"/><pv i=\"1\" v=\"4\"/><pv i=\"0\" v=\"55\"/></ps></glob>");
    EXPECT_EQ (textOf (*module ("7000")->getChildByName ("glob")), "<glob><ps><pv i=\"0\" v=\"1\"/></ps></glob>");
    EXPECT_EQ (textOf (*module ("4000")->getChildByName ("glob")), "<glob><ps/></glob>") << "written even when empty";

    auto* names = module ("1000")->getChildByName ("ext")->getChildByName ("dom");
    EXPECT_EQ (names->getStringAttribute ("n"), "Preset");
    ASSERT_EQ (names->getNumChildElements(), 128);
    EXPECT_EQ (textOf (*names->getChildElement (127)), "<val i=\"127\" n=\"Old 127\"/>");

    auto* trigger = module ("4000")->getChildByName ("pgms");
    ASSERT_EQ (trigger->getNumChildElements(), 128);
    EXPECT_EQ (textOf (*trigger->getChildElement (5)),
               "<pgm i=\"5\"><ps><pv i=\"0\" v=\"6\"/><pv i=\"1\" v=\"7\"/><pv i=\"2\" v=\"8\"/>"
               "<pv i=\"3\" v=\"9\"/><pv i=\"4\" v=\"10\"/><pv i=\"5\" v=\"11\"/></ps></pgm>");
}

TEST (AlxLegacyDocument, aShortBankConvertsWhatItHoldsAndIncompleteDocumentsAreRefused)
{
    const auto converted = convert (legacyBank (standardGlobals, 2), "fxb");
    ASSERT_NE (converted, nullptr);
    auto* program = converted->getFirstChildElement()->getChildByName ("cm")->getChildByAttribute ("i", "1000");
    EXPECT_EQ (program->getChildByName ("ext")->getChildByName ("dom")->getNumChildElements(), 2)
        << "programs the bank does not hold keep their names";
    EXPECT_EQ (program->getChildByName ("pgms")->getNumChildElements(), 128);

    EXPECT_EQ (convert ("<plugin><a/><b/><c/></plugin>", "fxb"), nullptr);
    EXPECT_EQ (convert ("<plugin/>", "fxp"), nullptr);
    EXPECT_EQ (convert (legacyBank (standardGlobals), "other"), nullptr);
}

TEST (AlxLegacyDocument, aConvertedBankLoadsIntoTheTreeAndTheLaterOfTwoValuesWins)
{
    AlxStateTestFilter processor;
    const auto legacy = legacyBank (standardGlobals);
    processor.setStateInformation (legacy.toRawUTF8(), (int) legacy.getNumBytesAsUTF8() + 1);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (processor.valueText (300100, -1, 0), "20 %") << "-5 comes after -6";
    EXPECT_EQ (processor.valueText (2000, -1, 0), "55 %");
    EXPECT_EQ (processor.getCurrentProgram(), 6);
    EXPECT_EQ (processor.getProgramName (0), "Old 0");
    EXPECT_EQ (processor.getProgramName (127), "Old 127");
    EXPECT_EQ (processor.valueText (4000, 5, 0), "6 %");
    EXPECT_EQ (processor.valueText (4000, 0, 1), "LFO2");
    EXPECT_EQ (processor.valueText (4000, 5, 1), "None") << "value id 7 is no modulation source: the value stays";
}

TEST (AlxLegacyDocument, theProductLoadsLegacyBanksAndProgramsThroughItsRoot)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    const auto bank = legacyBank (standardGlobals);
    ASSERT_TRUE (processor.getRootModule()->loadBankChunk (bank.toRawUTF8(), bank.getNumBytesAsUTF8() + 1));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (processor.getProgramName (42), "Old 42");
    EXPECT_EQ (processor.getCurrentProgram(), 6);

    const auto program = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.1\">" + legacyProgram ("fxp", "Single", 3) + "</plugin>";
    processor.setCurrentProgramStateInformation (program.toRawUTF8(), (int) program.getNumBytesAsUTF8() + 1);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (processor.getProgramName (6), "Single");
    EXPECT_EQ (processor.getProgramName (5), "Old 5");
}
