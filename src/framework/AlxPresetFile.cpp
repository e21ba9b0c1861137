#include "framework/AlxPresetFile.h"

#include "framework/AlxFileReplacement.h"

#include <cstring>

namespace
{
    constexpr size_t chunkMagicOffset = 0;
    constexpr size_t byteSizeOffset = 4;
    constexpr size_t formatMagicOffset = 8;
    constexpr size_t formatVersionOffset = 12;
    constexpr size_t pluginIdOffset = 16;
    constexpr size_t pluginVersionOffset = 20;
    constexpr size_t countOffset = 24;
    constexpr size_t programNameOffset = 28;

    const char* formatMagic (AlxPresetFile::Kind kind) { return kind == AlxPresetFile::Kind::bank ? "FBCh" : "FPCh"; }

    // The chunk size field stands right before the chunk.
    size_t chunkSizeOffset (AlxPresetFile::Kind kind) { return AlxPresetFile::headerSize (kind) - 4; }

    void putBigEndian (char* destination, juce::uint32 value)
    {
        for (int i = 0; i < 4; ++i)
            destination[i] = (char) (juce::uint8) (value >> (24 - 8 * i));
    }
}

juce::MemoryBlock AlxPresetFile::build (Kind kind, int pluginId, const juce::String& programName,
                                        const juce::MemoryBlock& chunk)
{
    const size_t header = headerSize (kind);

    if (chunk.getSize() > (size_t) std::numeric_limits<juce::uint32>::max() - header)
        return {};

    juce::MemoryBlock file (header + chunk.getSize(), true);
    auto* bytes = static_cast<char*> (file.getData());

    std::memcpy (bytes + chunkMagicOffset, "CcnK", 4);
    putBigEndian (bytes + byteSizeOffset, (juce::uint32) (file.getSize() - 8));
    std::memcpy (bytes + formatMagicOffset, formatMagic (kind), 4);
    putBigEndian (bytes + formatVersionOffset, 1);
    putBigEndian (bytes + pluginIdOffset, (juce::uint32) pluginId);
    putBigEndian (bytes + pluginVersionOffset, 1);
    // Bank files have always declared 8 programs here, whatever the bank holds; readers take the
    // count from the document.
    putBigEndian (bytes + countOffset, kind == Kind::bank ? 8 : 1);

    if (kind == Kind::program)
    {
        const auto name = programNameField (programName);
        std::memcpy (bytes + programNameOffset, name.data(), name.size());
    }

    putBigEndian (bytes + chunkSizeOffset (kind), (juce::uint32) chunk.getSize());

    if (chunk.getSize() > 0)
        std::memcpy (bytes + header, chunk.getData(), chunk.getSize());

    return file;
}

std::optional<AlxPresetFile::Chunk> AlxPresetFile::findChunk (Kind kind, const void* data, size_t size)
{
    const size_t header = headerSize (kind);

    if (data == nullptr || size < header)
        return std::nullopt;

    auto* bytes = static_cast<const char*> (data);

    if (std::memcmp (bytes + chunkMagicOffset, "CcnK", 4) != 0
         || std::memcmp (bytes + formatMagicOffset, formatMagic (kind), 4) != 0)
        return std::nullopt;

    const size_t chunkSize = juce::ByteOrder::bigEndianInt (bytes + chunkSizeOffset (kind));

    if (chunkSize > size - header)
        return std::nullopt;

    return Chunk { bytes + header, chunkSize };
}

std::array<char, AlxPresetFile::programNameBytes> AlxPresetFile::programNameField (const juce::String& name)
{
    std::array<char, programNameBytes> field;
    field.fill (' ');
    size_t used = 0;

    for (auto p = name.toUTF8(); ! p.isEmpty();)
    {
        const auto* start = p.getAddress();
        ++p;
        const auto length = (size_t) (p.getAddress() - start);

        if (used + length > field.size())
            break;

        std::memcpy (field.data() + used, start, length);
        used += length;
    }

    return field;
}

bool AlxPresetFile::readFile (const juce::File& file, juce::MemoryBlock& destination)
{
    if (! file.existsAsFile() || file.getSize() > maximumFileSize)
        return false;

    juce::FileInputStream in (file);

    if (in.failedToOpen())
        return false;

    // The size is checked again while reading: the file may grow meanwhile, or report no size.
    juce::MemoryBlock content;
    const auto bytesRead = in.readIntoMemoryBlock (content, (ssize_t) maximumFileSize + 1);

    if (bytesRead > (size_t) maximumFileSize || in.getStatus().failed())
        return false;

    destination.swapWith (content);
    return true;
}

bool AlxPresetFile::writeFile (const juce::File& file, const juce::MemoryBlock& content)
{
    if (content.isEmpty())
        return false;

    juce::TemporaryFile temporary (file, juce::TemporaryFile::useHiddenFile);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || ! out.write (content.getData(), content.getSize()))
            return false;

        // Flushing also syncs the file to the disk.
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    // A short write does not always leave an error status behind: the size on disk tells.
    if (temporary.getFile().getSize() != (juce::int64) content.getSize())
        return false;

    return AlxFileReplacement::moveOver (temporary.getFile(), file);
}
