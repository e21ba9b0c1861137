#include "AlxFuzzHost.h"

// libFuzzer calls this once before the first input: the targets that load into the processor build
// it here, where the seconds it takes on a loaded machine do not count against the first input's
// timeout.
extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    AlxFuzzHost::processor();
    return 0;
}
