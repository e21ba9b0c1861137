#include "synth/AlxZipEndRecord.h"

#include <algorithm>
#include <cstring>

namespace
{
    constexpr juce::uint32 endRecordSignature = 0x06054b50;   // "PK\5\6"
    constexpr juce::int64 step = 22;                          // the size of an end record
    constexpr juce::int64 searchedSpan = 1 << 20;             // how far back the reader looks

    juce::uint32 readUInt32 (const char* bytes)
    {
        return juce::ByteOrder::littleEndianInt (bytes);
    }
}

std::optional<juce::int64> AlxZipEndRecord::archiveLength (juce::InputStream& stream)
{
    const auto length = stream.getTotalLength();

    if (length < 0)
        return length;

    // The reader's last window starts up to a step below the lowest position it searches from.
    const auto lowest = std::max (juce::int64 (0), length - searchedSpan);
    const auto start = std::max (juce::int64 (0), lowest - step);
    juce::MemoryBlock tail;

    if (! stream.setPosition (start))
        return length;

    stream.readIntoMemoryBlock (tail, (ssize_t) (length - start));

    if ((juce::int64) tail.getSize() != length - start)
        return length;

    const auto* bytes = static_cast<const char*> (tail.getData());

    // The reader's own steps: each window of 22 bytes is searched from its start, with the first
    // four bytes of the window after it appended, so that a signature across two windows is found
    // in the lower one.
    char window[step + 4] = {};

    for (auto position = length; position > lowest;)
    {
        position = std::max (juce::int64 (0), position - step);
        std::memmove (window + step, window, 4);

        if (length - position < step)
            return std::nullopt;

        std::memcpy (window, bytes + (position - start), (size_t) step);

        for (int i = 0; i < (int) step; ++i)
        {
            if (readUInt32 (window + i) != endRecordSignature)
                continue;

            const auto found = position + i;

            // The window that reached the stream's start overlaps the one after it, so its four
            // appended bytes do not follow it: a signature read across them is not in the stream.
            // The reader goes on from there all the same; it does so again on the whole stream.
            if (found + 4 > length || readUInt32 (bytes + (found - start)) != endRecordSignature)
                return length;

            return std::min (found + step, length);
        }
    }

    return std::nullopt;
}
