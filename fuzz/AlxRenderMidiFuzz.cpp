#include "AlxFuzzHost.h"

#include "render/AlxRenderError.h"
#include "render/AlxRenderInput.h"

#include <limits>

// The MIDI file a render plays as its host's input: read, placed at a tempo and handed out block by
// block, as the renderer does.
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    try
    {
        auto input = AlxRenderInput::fromFile (AlxFuzzHost::fileWith (data, size));

        // 120 bpm at 48 kHz: the first ten seconds in blocks of 4096 samples, then one block that
        // reaches as far as a block can.
        input.start (24000.0);
        constexpr int blockSize = 4096;
        juce::int64 blockStart = 0;
        int handedOut = 0;

        auto play = [&] (int numSamples)
        {
            juce::MidiBuffer buffer;
            input.fillBlock (buffer, blockStart, numSamples);

            for (const auto event : buffer)
            {
                AlxFuzzHost::require (event.samplePosition >= 0 && event.samplePosition < numSamples, "every event lies inside its block");
                ++handedOut;
            }

            blockStart += numSamples;
        };

        for (int block = 0; block < 118; ++block)
            play (blockSize);

        play (std::numeric_limits<int>::max());
        AlxFuzzHost::require (handedOut <= input.getNumEvents(), "no event is handed out twice");
    }
    catch (const AlxRenderError&)
    {
        // Refused with a message for the user: what a file that cannot be played should get.
    }

    return 0;
}
