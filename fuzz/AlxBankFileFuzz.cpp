#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    auto& processor = AlxFuzzHost::processor();

    if (processor.loadBankFile (AlxFuzzHost::fileWith (data, size)))
    {
        AlxMessageLoop::deliverPending();

        if (AlxFuzzHost::checksProperties (data, size))
            AlxFuzzHost::requireRoundTrip (-1);

        AlxFuzzHost::restore (-1);
    }

    AlxMessageLoop::deliverPending();
    AlxFuzzHost::forgetNames();
    return 0;
}
