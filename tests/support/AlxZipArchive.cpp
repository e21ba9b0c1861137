#include "AlxZipArchive.h"

namespace AlxZipArchive
{
    juce::MemoryBlock build (const std::vector<Entry>& entries, int compressionLevel)
    {
        const juce::Time entryTime (2014, 0, 1, 0, 0);
        juce::ZipFile::Builder builder;

        for (auto& [name, data] : entries)
            builder.addEntry (new juce::MemoryInputStream (data, true), compressionLevel, name, entryTime);

        juce::MemoryOutputStream out;
        builder.writeToStream (out, nullptr);
        return out.getMemoryBlock();
    }
}
