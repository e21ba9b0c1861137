#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <optional>

// The bytes of bank (fxb) and program (fxp) preset files: a header of big-endian 32-bit fields
// around the state chunk. This class only builds and takes apart those bytes and reads and writes
// whole files; the module tree decides what the chunk means.
//
// Bank header:    "CcnK", file size - 8, "FBCh", 1, plug-in id, 1, 8 (programs), 128 zero bytes,
//                 chunk size; the chunk at 160.
// Program header: "CcnK", file size - 8, "FPCh", 1, plug-in id, 1, 1 (parameters), the program
//                 name in 28 bytes, chunk size; the chunk at 60.
class AlxPresetFile
{
public:
    enum class Kind { bank, program };

    static constexpr size_t programNameBytes = 28;

    // Far beyond any document of this system (a bank is a few hundred kilobytes): larger files are
    // not preset files and are not read into memory.
    static constexpr juce::int64 maximumFileSize = 16 * 1024 * 1024;

    static size_t headerSize (Kind kind) { return kind == Kind::bank ? 160 : 60; }

    // The whole file. The program name is used by program files only. Empty when the chunk does
    // not fit the 32-bit size fields.
    static juce::MemoryBlock build (Kind kind, int pluginId, const juce::String& programName,
                                    const juce::MemoryBlock& chunk);

    struct Chunk
    {
        const void* data;
        size_t size;
    };

    // Where the chunk lies within the bytes of a preset file of that kind; nothing when the bytes
    // are not one: shorter than the header, other magics, or a chunk size that reaches beyond the
    // end. The plug-in id and version fields are not looked at.
    static std::optional<Chunk> findChunk (Kind kind, const void* data, size_t size);

    // The name's UTF-8 bytes, as many whole characters as fit in 28 bytes, padded with spaces; no
    // terminating zero.
    static std::array<char, programNameBytes> programNameField (const juce::String& name);

    // The whole content of a file of at most maximumFileSize bytes; false when it cannot be read
    // or is larger.
    static bool readFile (const juce::File& file, juce::MemoryBlock& destination);

    // Writes the content beside the file and then puts it in the file's place in one step, so the
    // file holds either its old or its new content, never a part. False, with the file as it was,
    // when anything fails.
    static bool writeFile (const juce::File& file, const juce::MemoryBlock& content);
};
