#include "AlxSynthTestTools.h"
#include "synth/AlxZipEndRecord.h"

#include "AlxEmbeddedData.h"

#include <gtest/gtest.h>

using namespace AlxSynthTestTools;

namespace
{
    juce::MemoryBlock bytes (std::initializer_list<int> values)
    {
        juce::MemoryBlock block;

        for (int v : values)
            block.append (&v, 1);

        return block;
    }

    juce::MemoryBlock operator+ (juce::MemoryBlock a, const juce::MemoryBlock& b)
    {
        a.append (b.getData(), b.getSize());
        return a;
    }

    // Bytes that hold no "PK" at all.
    juce::MemoryBlock filler (int size, char byte = 'x')
    {
        juce::MemoryBlock block ((size_t) size);
        block.fillWith ((juce::uint8) byte);
        return block;
    }

    const juce::MemoryBlock signature = bytes ({ 'P', 'K', 5, 6 });

    // An archive of two entries, stored so that every byte stays where the test puts it.
    juce::MemoryBlock archive()
    {
        return zip ({ { "_metadata.xml", text ("<soundBank/>") }, { "a.wav", filler (3000, 'a') } });
    }

    // The archive with a comment: the end record says how long it is, and it follows the record.
    juce::MemoryBlock archiveWithComment (const juce::String& comment)
    {
        auto block = archive();
        auto* record = static_cast<char*> (block.getData()) + block.getSize() - 22;
        const auto length = (juce::uint16) comment.getNumBytesAsUTF8();
        record[20] = (char) (length & 0xff);
        record[21] = (char) (length >> 8);
        block.append (comment.toRawUTF8(), length);
        return block;
    }

    // What JUCE's zip reader makes of a stream: each entry's name, size and content.
    juce::StringArray readEntries (juce::InputStream& stream)
    {
        juce::ZipFile zipFile (stream);
        juce::StringArray entries;

        for (int i = 0; i < zipFile.getNumEntries(); ++i)
        {
            const auto* entry = zipFile.getEntry (i);
            juce::MemoryBlock content;

            if (auto entryStream = std::unique_ptr<juce::InputStream> (zipFile.createStreamForEntry (i)))
                entryStream->readIntoMemoryBlock (content);

            entries.add (entry->filename + " " + juce::String ((juce::int64) entry->uncompressedSize) + " "
                         + juce::String::toHexString (content.getData(), (int) content.getSize(), 0).substring (0, 64));
        }

        return entries;
    }

    // A stream that counts the bytes it delivers.
    class CountingStream : public juce::InputStream
    {
    public:
        explicit CountingStream (const juce::MemoryBlock& data) : source (data, false) {}

        juce::int64 getTotalLength() override { return source.getTotalLength(); }
        bool isExhausted() override { return source.isExhausted(); }
        juce::int64 getPosition() override { return source.getPosition(); }
        bool setPosition (juce::int64 position) override { return source.setPosition (position); }

        int read (void* destination, int size) override
        {
            const int delivered = source.read (destination, size);
            bytesRead += delivered;
            return delivered;
        }

        juce::int64 bytesRead = 0;

    private:
        juce::MemoryInputStream source;
    };
}

// The archive handed on is the stream cut after the end record the reader would find; read from
// there, it gives the entries that reading the whole stream gives.
TEST (AlxZipEndRecord, theArchiveCutAfterItsEndRecordReadsAsTheWholeStream)
{
    const auto plain = archive();
    const auto plainLength = (juce::int64) plain.getSize();

    // A stream of 30 bytes is searched in the windows 8 to 29 and 0 to 21, the last with the
    // first four bytes of the one before appended: bytes 19 to 21 and byte 8 read as a signature
    // that is not in the stream.
    auto acrossWindows = filler (30);
    static_cast<char*> (acrossWindows.getData())[8] = 6;
    acrossWindows.copyFrom ("PK\x05", 19, 3);

    struct Case
    {
        const char* what;
        juce::MemoryBlock stream;
        std::optional<juce::int64> length;   // the archive's length; nothing for no end record
    };

    const Case cases[] = {
        { "an archive ending with its end record", plain, plainLength },
        { "an archive followed by other bytes", plain + filler (10000), plainLength },
        { "an archive whose end record has a comment", archiveWithComment ("made here"), plainLength },
        { "an archive followed by a copy of its end record and other bytes",
          plain + filler (100) + juce::MemoryBlock (plain.begin() + plainLength - 22, 22) + filler (500),
          plainLength + 100 + 22 },
        { "two signatures in one window: the lower is used", plain + signature + signature + filler (30),
          plainLength + 22 },
        { "a signature in the last 21 bytes: the stream is kept whole", plain + signature + filler (5),
          plainLength + 9 },
        { "a signature read across the windows at the start of the stream", acrossWindows, 30 },
        { "a stream without an end record", filler (5000), std::nullopt },
        { "an archive followed by more than the searched megabyte", plain + filler ((1 << 20) + 100), std::nullopt },
        { "an empty stream", {}, std::nullopt },
        { "a stream shorter than an end record", signature, std::nullopt },
        { "a stream of just an end record", signature + filler (18, 0), 22 },
    };

    for (const auto& c : cases)
    {
        juce::MemoryInputStream whole (c.stream, false);
        const auto length = AlxZipEndRecord::archiveLength (whole);
        EXPECT_EQ (length, c.length) << c.what;

        juce::MemoryInputStream again (c.stream, false);
        const auto expected = readEntries (again);

        if (length.has_value())
        {
            juce::MemoryInputStream source (c.stream, false);
            juce::SubregionStream cut (&source, 0, *length, false);
            EXPECT_EQ (readEntries (cut), expected) << c.what;
        }
        else
        {
            EXPECT_TRUE (expected.isEmpty()) << c.what;
        }
    }

    juce::MemoryInputStream plainStream (plain, false);
    EXPECT_EQ (readEntries (plainStream).size(), 2) << "the archive itself reads";
}

// Bytes after the archive cost one pass over them, not a refill of the reader's buffer for every
// 22 of them, and the bank reads as it does without them.
TEST (AlxZipEndRecord, aBankFollowedByOtherBytesReadsOnceAndGivesTheSameSounds)
{
    const juce::MemoryBlock bank (AlxEmbeddedData::soundBankZip, (size_t) AlxEmbeddedData::soundBankZipSize);
    constexpr int tableLength = 64;

    juce::MemoryInputStream plain (bank, false);
    const auto sounds = AlxSynth (plain, tableLength).getNumSounds();
    ASSERT_GT (sounds, 0);

    const auto followed = bank + filler (200000);
    CountingStream stream (followed);
    EXPECT_EQ (AlxSynth (stream, tableLength).getNumSounds(), sounds);
    EXPECT_LT (stream.bytesRead, 3 * (juce::int64) followed.getSize());
}
