#pragma once

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

// Zip archives built in memory, for tests and the seeds of the fuzz targets. Every entry carries
// one fixed time: an entry's date must lie in 1980 or later (the format counts years from there),
// and fixed times give the same bytes for the same entries.
namespace AlxZipArchive
{
    using Entry = std::pair<juce::String, juce::MemoryBlock>;

    // The entries in the given order. Level 0 stores them as they are, which is what a fuzzer can
    // mutate meaningfully; 1 to 9 deflate them.
    juce::MemoryBlock build (const std::vector<Entry>& entries, int compressionLevel = 9);
}
