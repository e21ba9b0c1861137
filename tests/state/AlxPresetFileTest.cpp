#include "framework/AlxPresetFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace
{
    juce::uint32 field (const juce::MemoryBlock& file, size_t offset)
    {
        return juce::ByteOrder::bigEndianInt (static_cast<const char*> (file.getData()) + offset);
    }

    juce::String bytesAt (const juce::MemoryBlock& file, size_t offset, size_t length)
    {
        return juce::String::fromUTF8 (static_cast<const char*> (file.getData()) + offset, (int) length);
    }

    juce::MemoryBlock chunkOf (const char* text)
    {
        return juce::MemoryBlock (text, std::strlen (text) + 1);
    }

    constexpr int pluginId = ('Q' << 24) | ('Z' << 16) | ('0' << 8) | '4';

    struct TemporaryFolder
    {
        TemporaryFolder() { folder.createDirectory(); }
        ~TemporaryFolder() { folder.deleteRecursively(); }

        juce::File folder = juce::File::createTempFile ("presets");
    };
}

TEST (AlxPresetFile, writesTheBankHeaderFieldByField)
{
    const auto chunk = chunkOf ("<fxb/>");
    const auto file = AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, "ignored", chunk);

    ASSERT_EQ (file.getSize(), 160 + chunk.getSize());
    EXPECT_EQ (bytesAt (file, 0, 4), "CcnK");
    EXPECT_EQ (field (file, 4), file.getSize() - 8);
    EXPECT_EQ (bytesAt (file, 8, 4), "FBCh");
    EXPECT_EQ (field (file, 12), 1u);
    EXPECT_EQ (bytesAt (file, 16, 4), "QZ04");
    EXPECT_EQ (field (file, 20), 1u);
    EXPECT_EQ (field (file, 24), 8u);

    for (size_t i = 28; i < 156; ++i)
        ASSERT_EQ (static_cast<const char*> (file.getData())[i], 0) << i;

    EXPECT_EQ (field (file, 156), chunk.getSize());
    EXPECT_EQ (juce::MemoryBlock (static_cast<const char*> (file.getData()) + 160, chunk.getSize()), chunk);
}

TEST (AlxPresetFile, writesTheProgramHeaderWithItsNameField)
{
    const auto chunk = chunkOf ("<fxp/>");
    const auto file = AlxPresetFile::build (AlxPresetFile::Kind::program, pluginId, "Pad", chunk);

    ASSERT_EQ (file.getSize(), 60 + chunk.getSize());
    EXPECT_EQ (bytesAt (file, 0, 4), "CcnK");
    EXPECT_EQ (field (file, 4), file.getSize() - 8);
    EXPECT_EQ (bytesAt (file, 8, 4), "FPCh");
    EXPECT_EQ (field (file, 12), 1u);
    EXPECT_EQ (bytesAt (file, 16, 4), "QZ04");
    EXPECT_EQ (field (file, 20), 1u);
    EXPECT_EQ (field (file, 24), 1u);
    EXPECT_EQ (bytesAt (file, 28, 28), "Pad                         ");
    EXPECT_EQ (field (file, 56), chunk.getSize());
    EXPECT_EQ (juce::MemoryBlock (static_cast<const char*> (file.getData()) + 60, chunk.getSize()), chunk);
}

TEST (AlxPresetFile, programNamesArePaddedOrCutAtACharacterBoundary)
{
    struct Case { const char* name; const char* field; };
    const Case cases[] = {
        { "", "                            " },
        { "Short", "Short                       " },
        { "exactly twenty-eight bytes!!", "exactly twenty-eight bytes!!" },
        { "a name that is much longer than the field", "a name that is much longer t" },
        // 26 ASCII bytes and a 3-byte euro sign: the sign does not fit and is left out whole.
        { "abcdefghijklmnopqrstuvwxyz\xe2\x82\xac", "abcdefghijklmnopqrstuvwxyz  " },
        // Twenty two-byte characters: fourteen fit exactly.
        { "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"
          "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc",
          "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc"
          "\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc" },
        // 27 bytes then a 4-byte character.
        { "123456789012345678901234567\xf0\x9f\x8e\xb9", "123456789012345678901234567 " },
    };

    for (auto& c : cases)
    {
        const auto bytes = AlxPresetFile::programNameField (juce::String::fromUTF8 (c.name));
        EXPECT_EQ (std::string (bytes.data(), bytes.size()), std::string (c.field)) << c.name;
    }
}

TEST (AlxPresetFile, findsTheChunkOnlyInFilesOfItsKind)
{
    const auto chunk = chunkOf ("<fxb/>");
    const auto bank = AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, chunk);
    const auto program = AlxPresetFile::build (AlxPresetFile::Kind::program, pluginId, "p", chunk);

    const auto found = AlxPresetFile::findChunk (AlxPresetFile::Kind::bank, bank.getData(), bank.getSize());
    ASSERT_TRUE (found.has_value());
    EXPECT_EQ (found->data, static_cast<const char*> (bank.getData()) + 160);
    EXPECT_EQ (found->size, chunk.getSize());
    ASSERT_TRUE (AlxPresetFile::findChunk (AlxPresetFile::Kind::program, program.getData(), program.getSize()).has_value());

    auto corrupted = [] (juce::MemoryBlock file, size_t offset, juce::uint32 value)
    {
        const auto bigEndian = juce::ByteOrder::swapIfLittleEndian (value);
        file.copyFrom (&bigEndian, (int) offset, 4);
        return file;
    };

    struct Case { const char* what; AlxPresetFile::Kind kind; juce::MemoryBlock bytes; };
    const Case refused[] = {
        { "program file read as bank", AlxPresetFile::Kind::bank, program },
        { "bank file read as program", AlxPresetFile::Kind::program, bank },
        { "shorter than the bank header", AlxPresetFile::Kind::bank, juce::MemoryBlock (bank.getData(), 159) },
        { "shorter than the program header", AlxPresetFile::Kind::program, juce::MemoryBlock (program.getData(), 59) },
        { "empty", AlxPresetFile::Kind::bank, juce::MemoryBlock() },
        { "chunk cut short", AlxPresetFile::Kind::bank, juce::MemoryBlock (bank.getData(), bank.getSize() - 1) },
        { "chunk size beyond the file", AlxPresetFile::Kind::bank, corrupted (bank, 156, (juce::uint32) chunk.getSize() + 1) },
        { "chunk size of 4 GB", AlxPresetFile::Kind::program, corrupted (program, 56, 0xffffffffu) },
        { "other chunk magic", AlxPresetFile::Kind::bank, corrupted (bank, 0, 0x43636e6c) },
        { "other format magic", AlxPresetFile::Kind::bank, corrupted (bank, 8, 0x46784368) },
    };

    for (auto& c : refused)
        EXPECT_FALSE (AlxPresetFile::findChunk (c.kind, c.bytes.getData(), c.bytes.getSize()).has_value()) << c.what;

    // Plug-in id and version are not looked at; an empty chunk is still a chunk.
    const auto foreign = corrupted (corrupted (bank, 16, 0x41424344), 20, 7);
    EXPECT_TRUE (AlxPresetFile::findChunk (AlxPresetFile::Kind::bank, foreign.getData(), foreign.getSize()).has_value());
    const auto empty = AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, {});
    EXPECT_EQ (AlxPresetFile::findChunk (AlxPresetFile::Kind::bank, empty.getData(), empty.getSize())->size, 0u);
}

TEST (AlxPresetFile, readsWholeFilesUpToTheLimitOnly)
{
    TemporaryFolder temp;
    const auto small = temp.folder.getChildFile ("small.fxb");
    ASSERT_TRUE (small.replaceWithText ("content"));
    juce::MemoryBlock read;
    ASSERT_TRUE (AlxPresetFile::readFile (small, read));
    EXPECT_EQ (read.toString(), "content");

    // A sparse file just over the limit: refused without reading it into memory.
    const auto huge = temp.folder.getChildFile ("huge.fxb");
    {
        juce::FileOutputStream out (huge);
        ASSERT_TRUE (out.setPosition (AlxPresetFile::maximumFileSize));
        ASSERT_TRUE (out.writeByte (1));
    }
    ASSERT_EQ (huge.getSize(), AlxPresetFile::maximumFileSize + 1);
    EXPECT_FALSE (AlxPresetFile::readFile (huge, read));

    EXPECT_FALSE (AlxPresetFile::readFile (temp.folder.getChildFile ("missing.fxb"), read));
    EXPECT_FALSE (AlxPresetFile::readFile (temp.folder, read));
    EXPECT_EQ (read.toString(), "content") << "a failed read leaves the destination alone";
}

TEST (AlxPresetFile, replacesFilesWholeOrNotAtAll)
{
    TemporaryFolder temp;
    const auto target = temp.folder.getChildFile ("bank.fxb");
    ASSERT_TRUE (target.replaceWithText ("old content"));

    juce::MemoryBlock content;
    content.setSize (20000);
    content.fillWith (0x5a);
    ASSERT_TRUE (AlxPresetFile::writeFile (target, content));
    juce::MemoryBlock read;
    ASSERT_TRUE (target.loadFileAsData (read));
    EXPECT_EQ (read, content);

    // The disk fills up halfway: the file size limit makes every write past 100 bytes fail. A
    // small file is written from the stream's buffer when it is flushed, a large one at once.
    for (size_t size : { (size_t) 1000, (size_t) 20000 })
    {
        content.setSize (size);
        ASSERT_TRUE (target.replaceWithText ("old content"));
        struct rlimit previous {};
        ASSERT_EQ (getrlimit (RLIMIT_FSIZE, &previous), 0);
        auto* previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        struct rlimit limited = previous;
        limited.rlim_cur = 100;
        ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &limited), 0);

        const bool written = AlxPresetFile::writeFile (target, content);

        setrlimit (RLIMIT_FSIZE, &previous);
        std::signal (SIGXFSZ, previousHandler);

        EXPECT_FALSE (written) << size;
        EXPECT_EQ (target.loadFileAsString(), "old content") << size;
        EXPECT_EQ (temp.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1) << "no partial file is left behind";
    }

    EXPECT_FALSE (AlxPresetFile::writeFile (temp.folder.getChildFile ("missing/bank.fxb"), content));
    EXPECT_FALSE (AlxPresetFile::writeFile (target, {}));
    EXPECT_EQ (target.loadFileAsString(), "old content");
}
