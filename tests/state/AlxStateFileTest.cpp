#include "AlxStateTestTree.h"

#include "core/AlxPlimsarFilter.h"
#include "framework/AlxPresetFile.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

namespace
{
    constexpr int pluginId = ('Q' << 24) | ('Z' << 16) | ('0' << 8) | '4';
    const int valueModules[] = { 2000, 300100, 4000 };

    struct StateFiles : testing::Test
    {
        StateFiles() { folder.createDirectory(); }
        ~StateFiles() override { folder.deleteRecursively(); }

        juce::File file (const char* name) const { return folder.getChildFile (name); }

        static juce::MemoryBlock contentOf (const juce::File& f)
        {
            juce::MemoryBlock content;
            f.loadFileAsData (content);
            return content;
        }

        static void write (const juce::File& f, const juce::MemoryBlock& content)
        {
            ASSERT_TRUE (f.deleteFile() && f.create() && (content.isEmpty() || f.replaceWithData (content.getData(), content.getSize())));
        }

        static juce::MemoryBlock chunkOf (const juce::String& text, bool withPrefix = false)
        {
            juce::MemoryBlock chunk;

            if (withPrefix)
            {
                chunk.append ("VC2!", 4);
                const auto length = juce::ByteOrder::swapIfBigEndian ((juce::uint32) text.getNumBytesAsUTF8() + 1);
                chunk.append (&length, 4);
            }

            chunk.append (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
            return chunk;
        }

        static juce::MemoryBlock bankFileOf (const juce::String& document, bool withPrefix = false)
        {
            return AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, chunkOf (document, withPrefix));
        }

        // Every program gets values of its own in every module, a name of its own, and the
        // modules properties, one of them temporary.
        static void fillDistinctly (AlxStateTestFilter& processor)
        {
            for (int program = 0; program < 128; ++program)
            {
                processor.changeProgramName (program, "Program " + juce::String (program) + juce::String (juce::CharPointer_UTF8 (" \xc3\xa9")));

                for (int id : valueModules)
                {
                    processor.setValueIndex (id, program, 0, (program * 7 + id / 100) % 101);
                    processor.setValueIndex (id, program, 1, (program + id) % 3);
                }
            }

            for (int id : valueModules)
                processor.setValueIndex (id, -1, 0, id % 97);

            processor.module (4000).getPropertySet()->setValue ("helpCurrentPage", 3);
            processor.root().getPropertySet()->setValue ("standalone", 1);
            processor.root().getPropertySet()->setValue ("$tmp/lastFolder", "/somewhere");
            processor.setCurrentProgram (2);
            AlxMessageLoop::deliverPending();
        }

        const juce::File folder = juce::File::createTempFile ("state");
    };
}

TEST_F (StateFiles, aBankFileReproducesEveryValueNameAndPropertyButTemporaryOnes)
{
    AlxStateTestFilter saved;
    fillDistinctly (saved);
    ASSERT_TRUE (saved.saveBankFile (file ("bank.fxb")));

    AlxStateTestFilter loaded;
    ASSERT_TRUE (loaded.loadBankFile (file ("bank.fxb")));
    AlxMessageLoop::deliverPending();

    for (int program = 0; program < 128; ++program)
    {
        ASSERT_EQ (loaded.getProgramName (program), saved.getProgramName (program));

        for (int id : valueModules)
            for (int parameterId : { 0, 1 })
                ASSERT_EQ (loaded.valueText (id, program, parameterId), saved.valueText (id, program, parameterId))
                    << "module " << id << " program " << program;
    }

    for (int id : valueModules)
        EXPECT_EQ (loaded.valueText (id, -1, 0), saved.valueText (id, -1, 0));

    EXPECT_EQ (loaded.getCurrentProgram(), 2) << "the current program travels with the bank";
    EXPECT_EQ (loaded.module (4000).getPropertySet()->getIntValue ("helpCurrentPage"), 3);
    EXPECT_EQ (loaded.root().getPropertySet()->getIntValue ("standalone"), 1);
    EXPECT_FALSE (loaded.root().getPropertySet()->containsKey ("$tmp/lastFolder"));
    EXPECT_TRUE (loaded.bankText() == saved.bankText());
}

TEST_F (StateFiles, aProgramFileChangesOnlyTheProgramItIsLoadedIntoAndItsName)
{
    AlxStateTestFilter source;
    fillDistinctly (source);
    source.setCurrentProgram (2);
    source.changeProgramName (2, "Source two");
    ASSERT_TRUE (source.saveProgramFile (file ("two.fxp")));

    const auto content = contentOf (file ("two.fxp"));
    EXPECT_EQ (juce::String::fromUTF8 (static_cast<const char*> (content.getData()) + 28, 28), "Source two                  ");

    AlxStateTestFilter target;
    fillDistinctly (target);
    target.setCurrentProgram (7);
    AlxMessageLoop::deliverPending();
    AlxStateTestFilter untouched;
    fillDistinctly (untouched);

    ASSERT_TRUE (target.loadProgramFile (file ("two.fxp")));
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (target.getCurrentProgram(), 7);
    EXPECT_EQ (target.getProgramName (7), "Source two");

    for (int program = 0; program < 128; ++program)
    {
        if (program != 7)
        {
            ASSERT_EQ (target.getProgramName (program), untouched.getProgramName (program)) << program;
        }

        for (int id : valueModules)
            for (int parameterId : { 0, 1 })
                ASSERT_EQ (target.valueText (id, program, parameterId),
                           (program == 7 ? source.valueText (id, 2, parameterId) : untouched.valueText (id, program, parameterId)))
                    << "module " << id << " program " << program;
    }

    for (int id : valueModules)
        EXPECT_EQ (target.valueText (id, -1, 0), untouched.valueText (id, -1, 0)) << "a program file carries no global values";
}

TEST_F (StateFiles, documentsAreAcceptedByVersionAndPluginName)
{
    auto bankNaming = [] (const char* plugin, const char* version)
    {
        return juce::String ("<fxb><mod i=\"4\" n=\"") + plugin + "\" v=\"" + version
               + "\"><cm><mod i=\"1000\"><ext><dom n=\"Preset\"><val i=\"0\" n=\"Loaded\"/></dom></ext></mod></cm></mod></fxb>";
    };

    const juce::String legacyBank = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.9\"><a/><b/><g/>"
                                    "<fxb><p name=\"Loaded\"/></fxb></plugin>";

    struct Case { juce::String document; bool accepted; };
    const Case cases[] = {
        { bankNaming ("plimsar", "1.5.544"), true },
        { bankNaming ("plimsar", "1.5.2"), true },
        { bankNaming ("plimsar", "1.1.142"), true },
        { legacyBank, true },
        { bankNaming ("plimsar", "1.3.0"), false },
        { bankNaming ("plimsar", "2.0.0"), false },
        { bankNaming ("plimsar", "1.6.0"), false },
        { bankNaming ("other", "1.5.544"), false },
        { legacyBank.replace ("1.0.9", "2.0.9"), false },
        { legacyBank.replace ("pluginName=\"plimsar\"", "pluginName=\"other\""), false },
    };

    for (auto& c : cases)
    {
        AlxStateTestFilter processor;
        processor.changeProgramName (0, "Before");
        write (file ("bank.fxb"), bankFileOf (c.document));

        EXPECT_EQ (processor.loadBankFile (file ("bank.fxb")), c.accepted) << c.document;
        EXPECT_EQ (processor.getProgramName (0), c.accepted ? "Loaded" : "Before") << c.document;
    }
}

TEST_F (StateFiles, prefixedAndPlainChunksLoadAlike)
{
    AlxStateTestFilter source;
    fillDistinctly (source);
    const auto document = source.bankText();

    for (bool withPrefix : { false, true })
    {
        AlxStateTestFilter fromFile, fromHost;
        write (file ("bank.fxb"), bankFileOf (document, withPrefix));
        ASSERT_TRUE (fromFile.loadBankFile (file ("bank.fxb"))) << withPrefix;
        const auto chunk = chunkOf (document, withPrefix);
        fromHost.setStateInformation (chunk.getData(), (int) chunk.getSize());
        AlxMessageLoop::deliverPending();

        EXPECT_TRUE (fromFile.bankText() == document) << withPrefix;
        EXPECT_TRUE (fromHost.bankText() == document) << withPrefix;
    }
}

TEST_F (StateFiles, filesThatHoldNoLoadablePresetChangeNothingAndReportFailure)
{
    AlxStateTestFilter processor;
    fillDistinctly (processor);
    ASSERT_TRUE (processor.saveBankFile (file ("good.fxb")));
    ASSERT_TRUE (processor.saveProgramFile (file ("good.fxp")));
    const auto bank = contentOf (file ("good.fxb"));
    const auto before = processor.bankText();

    juce::MemoryBlock garbage (4096);
    juce::Random random (42);
    random.fillBitsRandomly (garbage.getData(), garbage.getSize());

    const auto programFile = contentOf (file ("good.fxp"));
    auto programFileOf = [] (const juce::String& document)
    {
        return AlxPresetFile::build (AlxPresetFile::Kind::program, pluginId, "name", chunkOf (document));
    };

    struct Case { const char* what; juce::MemoryBlock content; bool asProgram; };
    const Case cases[] = {
        { "empty", {}, false },
        { "empty", {}, true },
        { "shorter than the bank header", juce::MemoryBlock (bank.getData(), 159), false },
        { "shorter than the program header", juce::MemoryBlock (programFile.getData(), 59), true },
        { "chunk cut short", juce::MemoryBlock (bank.getData(), bank.getSize() / 2), false },
        { "random bytes", garbage, false },
        { "random bytes", garbage, true },
        { "a program file", programFile, false },
        { "a bank file", bank, true },
        { "text that is not XML", bankFileOf ("plimsar bank"), false },
        { "a program document", bankFileOf ("<fxp><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"/></fxp>"), false },
        { "a bank document", programFileOf ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"/></fxb>"), true },
        { "a refused version", bankFileOf ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.3.0\"/></fxb>"), false },
        { "an empty chunk", AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, {}), false },
    };

    for (auto& c : cases)
    {
        write (file ("bad"), c.content);
        EXPECT_FALSE (c.asProgram ? processor.loadProgramFile (file ("bad")) : processor.loadBankFile (file ("bad")))
            << c.what << (c.asProgram ? " as program" : " as bank");
    }

    EXPECT_FALSE (processor.loadBankFile (file ("missing.fxb")));
    EXPECT_FALSE (processor.loadBankFile (folder));
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (processor.bankText() == before);
}

TEST_F (StateFiles, aFailedSaveReportsFailureAndLeavesTheOldFile)
{
    AlxStateTestFilter processor;
    ASSERT_TRUE (processor.saveBankFile (file ("bank.fxb")));
    const auto old = contentOf (file ("bank.fxb"));

    processor.changeProgramName (0, "Changed");
    // A folder in the file's place cannot be replaced by a file.
    ASSERT_TRUE (file ("taken.fxp").createDirectory());
    EXPECT_FALSE (processor.saveProgramFile (file ("taken.fxp")));
    EXPECT_TRUE (file ("taken.fxp").isDirectory());
    EXPECT_FALSE (processor.saveBankFile (file ("no-such-folder/bank.fxb")));
    EXPECT_FALSE (processor.root().saveProgramFile (128, file ("bank.fxb")));
    EXPECT_EQ (contentOf (file ("bank.fxb")), old);
}

TEST_F (StateFiles, programElementsOutsideTheBankAreSkipped)
{
    AlxStateTestFilter processor;
    const auto before = processor.bankText();
    const auto document = juce::String ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"><cm><mod i=\"4000\"><pgms>")
                          + "<pgm i=\"128\"><ps><pv i=\"0\" v=\"11\"/></ps></pgm>"
                          + "<pgm i=\"-1\"><ps><pv i=\"0\" v=\"12\"/></ps></pgm>"
                          + "<pgm i=\"4294967296\"><ps><pv i=\"0\" v=\"13\"/></ps></pgm>"
                          + "<pgm i=\"-2147483648\"><ps><pv i=\"0\" v=\"14\"/></ps></pgm>"
                          + "<pgm><ps><pv i=\"0\" v=\"15\"/></ps></pgm>"
                          + "<pgm i=\"first\"><ps><pv i=\"0\" v=\"17\"/></ps></pgm>"
                          + "<pgm i=\"127\"><ps><pv i=\"0\" v=\"16\"/></ps></pgm>"
                          + "</pgms></mod></cm></mod></fxb>";
    write (file ("bank.fxb"), bankFileOf (document));

    ASSERT_TRUE (processor.loadBankFile (file ("bank.fxb")));
    EXPECT_EQ (processor.valueText (4000, 127, 0), "16 %");
    const juce::String lastProgram = "<pgm i=\"127\"><ps><pv i=\"0\" v=\"";
    const int at = before.lastIndexOf (lastProgram) + lastProgram.length();
    EXPECT_TRUE (processor.bankText() == before.replaceSection (at, 1, "16")) << "only program 127 of module 4000 changed";
}

TEST (AlxPlimsarFilterFiles, savesAndLoadsItsOwnBankAndProgramFiles)
{
    const auto folder = juce::File::createTempFile ("plimsar");
    ASSERT_TRUE (folder.createDirectory());

    AlxPlimsarFilter saved;
    saved.initialise();
    saved.changeProgramName (3, "Three");
    saved.changeProgramName (5, "Five");
    saved.setCurrentProgram (5);
    AlxMessageLoop::deliverPending();
    ASSERT_TRUE (saved.saveBankFile (folder.getChildFile ("bank.fxb")));
    ASSERT_TRUE (saved.saveProgramFile (folder.getChildFile ("five.fxp")));

    // The header's sizes match the file, and the chunk is the host's state chunk.
    juce::MemoryBlock file, chunk;
    ASSERT_TRUE (folder.getChildFile ("bank.fxb").loadFileAsData (file));
    saved.getStateInformation (chunk);
    const auto* bytes = static_cast<const char*> (file.getData());
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (bytes + 4), file.getSize() - 8);
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (bytes + 156), file.getSize() - 160);
    EXPECT_EQ (juce::MemoryBlock (bytes + 160, file.getSize() - 160), chunk);
    file.reset();
    ASSERT_TRUE (folder.getChildFile ("five.fxp").loadFileAsData (file));
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (static_cast<const char*> (file.getData()) + 56), file.getSize() - 60);

    AlxPlimsarFilter loaded;
    loaded.initialise();
    loaded.setCurrentProgram (9);
    AlxMessageLoop::deliverPending();
    ASSERT_TRUE (loaded.loadProgramFile (folder.getChildFile ("five.fxp")));
    EXPECT_EQ (loaded.getProgramName (9), "Five");

    ASSERT_TRUE (loaded.loadBankFile (folder.getChildFile ("bank.fxb")));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (loaded.getProgramName (3), "Three");
    EXPECT_EQ (loaded.getProgramName (9), saved.getProgramName (9));
    EXPECT_EQ (loaded.getCurrentProgram(), 5);

    folder.deleteRecursively();
}
