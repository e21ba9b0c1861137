#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

#include "framework/AlxXmlGuard.h"
#include "support/AlxXmlDepth.h"

namespace
{
    // The guard counts nesting by walking the text as the XML reader does; wherever it lets the
    // reader parse, the parsed tree must be no deeper than it counted.
    void checkGuard (const std::uint8_t* data, size_t size)
    {
        const auto* text = reinterpret_cast<const char*> (data);
        const auto length = (size_t) (std::find (text, text + size, '\0') - text);
        const auto string = juce::String::fromUTF8 (text, (int) length);
        constexpr int limit = 64;
        const int counted = AlxXmlGuard::nestingDepth (string, limit);

        if (counted < 0 || counted > limit)
            return;

        if (auto parsed = juce::parseXML (string))
            AlxFuzzHost::require (alxXmlElementDepth (*parsed) <= counted, "the guard counts nesting at least as deep as the reader goes");
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    auto& root = *AlxFuzzHost::processor().getRootModule();
    const bool checks = AlxFuzzHost::checksProperties (data, size);

    if (checks)
        checkGuard (data, size);

    if (root.loadBankChunk (data, size))
    {
        AlxMessageLoop::deliverPending();

        if (checks)
            AlxFuzzHost::requireRoundTrip (-1);

        AlxFuzzHost::restore (-1);
    }

    AlxMessageLoop::deliverPending();
    AlxFuzzHost::forgetNames();
    return 0;
}
