#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// JUCE's zip reader looks for an archive's end record in the last megabyte of its stream by
// stepping back from the stream's end 22 bytes at a time, refilling an 8 KB buffer at every step.
// Where the record lies at the end, one step finds it; where bytes follow it, or no record is
// there, the stream is read hundreds of times over. This finds the record the reader would find
// in one pass over the same span, so that the reader can be handed the archive up to that record:
// there its first step finds it.
namespace AlxZipEndRecord
{
    // The length of the stream's start that holds the archive: up to the end of the end record
    // the reader would use. Nothing when the reader would find no record (it would find no entry).
    // Negative when the stream cannot say its length: then the reader has to search it itself.
    //
    // Cut there, every archive that keeps its directory and entries ahead of its end record, as
    // the format has it, reads as the whole stream does. Only a malformed archive whose directory
    // is said to lie in the bytes after its end record reads differently: it has no directory.
    std::optional<juce::int64> archiveLength (juce::InputStream& stream);
}
