#pragma once

#include <juce_core/juce_core.h>

// The state chunk: the state document printed as UTF-8 on one line, without an XML declaration,
// followed by one zero byte (counted in the chunk's size). Chunks that begin with the four bytes
// "VC2!" carry an 8-byte prefix (that mark and a length) which is skipped on reading.
struct AlxStateChunk
{
    static void write (const juce::XmlElement& document, juce::MemoryBlock& destination);

    // The parsed document, or null for no data, no text, text that is not XML or text the XML
    // reader cannot be trusted with (AlxXmlGuard).
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t size);
};
