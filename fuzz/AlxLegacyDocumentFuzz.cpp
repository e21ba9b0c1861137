#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

// Documents of version 1.0, loaded as the processor loads any state: as a bank chunk and as the
// chunk of one program. The input is what such a document holds inside its root element, so every
// run reaches the conversion instead of being refused for a wrong name or version.
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    static constexpr char head[] = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.4\">";
    static constexpr char tail[] = "</plugin>";
    juce::MemoryBlock chunk;
    chunk.append (head, sizeof (head) - 1);
    chunk.append (data, size);
    chunk.append (tail, sizeof (tail));   // with the zero byte that ends a chunk

    constexpr int program = 7;
    auto& root = *AlxFuzzHost::processor().getRootModule();
    const bool checks = AlxFuzzHost::checksProperties (data, size);

    if (root.loadBankChunk (chunk.getData(), chunk.getSize()))
    {
        AlxMessageLoop::deliverPending();

        if (checks)
            AlxFuzzHost::requireRoundTrip (-1);

        AlxFuzzHost::restore (-1);
    }

    if (root.loadProgramChunk (program, chunk.getData(), chunk.getSize()))
    {
        AlxMessageLoop::deliverPending();

        if (checks)
            AlxFuzzHost::requireRoundTrip (program);

        AlxFuzzHost::restore (program);
    }

    AlxMessageLoop::deliverPending();
    AlxFuzzHost::forgetNames();
    return 0;
}
