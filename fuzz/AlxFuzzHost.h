#pragma once

#include "core/AlxPlimsarFilter.h"

#include <cstdint>

// libFuzzer's entry points, one per target: runs one input; prepares the run (only the targets that
// load into the processor, AlxFuzzProcessorStart.cpp).
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize (int* argc, char*** argv);

// What the fuzz targets share. The processor is built once per process, with a JUCE message
// manager on the fuzzing thread: building it for every input would cost far more than reading the
// input. The targets deliver the messages that loading posts after every run (AlxMessageLoop);
// undelivered, they would pile up over millions of runs.
namespace AlxFuzzHost
{
    AlxPlimsarFilter& processor();

    // Puts the processor back into the state it was built with, so that every input meets the same
    // processor whatever the inputs before it loaded, and a crash found after a million inputs
    // shows again with that one input alone. Call after an input changed the state: the whole bank
    // (programIndex < 0) or one program.
    void restore (int programIndex);

    // Forgets the names the input's documents brought into JUCE's pool of strings (every tag and
    // attribute name read is kept there). Call at the end of every input: left in the pool, the
    // names of millions of fuzzed documents make each lookup slower, and every input that adds
    // one looks to libFuzzer like a leak, which it checks by running the input again.
    void forgetNames();

    // The input as the content of a file in memory-backed storage.
    juce::File fileWith (const std::uint8_t* data, size_t size);

    // Stops the run with a message when a property every input must keep is broken.
    void require (bool condition, const char* what);

    // Documents this system writes must load back and write out unchanged: saving after a load
    // and loading that again is checked here, for the bank (programIndex < 0) or one program.
    void requireRoundTrip (int programIndex);

    // Whether the run of this input checks the properties that cost several times what reading
    // the input does (a round trip saves a whole bank twice and reads it once: some five inputs'
    // worth). One input in thirty-two does, chosen by its content: a long run still checks some
    // hundred thousand documents, the fuzzer spends its time on new inputs rather than on
    // re-checking near copies of the last, and an input that broke a property breaks it again
    // when run alone.
    bool checksProperties (const std::uint8_t* data, size_t size);
}
