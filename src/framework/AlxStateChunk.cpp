#include "framework/AlxStateChunk.h"

#include "framework/AlxXmlGuard.h"

#include <cstring>

void AlxStateChunk::write (const juce::XmlElement& document, juce::MemoryBlock& destination)
{
    const auto text = document.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto* utf8 = text.toRawUTF8();
    destination.replaceAll (utf8, std::strlen (utf8) + 1);
}

std::unique_ptr<juce::XmlElement> AlxStateChunk::parse (const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return nullptr;

    auto* bytes = static_cast<const char*> (data);

    if (size > 8 && std::memcmp (bytes, "VC2!", 4) == 0)
    {
        bytes += 8;
        size -= 8;
    }

    // The text ends at the first zero byte, or with the chunk.
    const auto* end = static_cast<const char*> (std::memchr (bytes, 0, size));
    const size_t length = end != nullptr ? (size_t) (end - bytes) : size;

    if (length == 0)
        return nullptr;

    const auto text = juce::String::fromUTF8 (bytes, (int) juce::jmin (length, (size_t) std::numeric_limits<int>::max()));

    if (! AlxXmlGuard::canParse (text))
        return nullptr;

    return juce::parseXML (text);
}
