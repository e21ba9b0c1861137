#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    // Program files load into the current program; 7 is as good as any.
    constexpr int program = 7;
    auto& root = *AlxFuzzHost::processor().getRootModule();

    if (root.loadProgramFile (program, AlxFuzzHost::fileWith (data, size)))
    {
        AlxMessageLoop::deliverPending();
        AlxFuzzHost::requireRoundTrip (program);
        AlxFuzzHost::restore (program);
    }

    AlxMessageLoop::deliverPending();
    AlxFuzzHost::forgetNames();
    return 0;
}
