#include "AlxFuzzHost.h"

#include "synth/AlxSynth.h"

#include <cmath>

// A sound bank archive: its description and the recordings of a sampler bank, read as the test synth
// reads its bank, then a chord across the keyboard played through every sound it made.
//
// Wavetables are generated here with tables of 64 samples instead of 262144: every description and
// every step of the generation runs as for a played bank, but an input costs microseconds instead
// of a tenth of a second.
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    constexpr int tableLength = 64;
    juce::MemoryInputStream archive (data, size, false);
    AlxSynth synth (archive, tableLength);

    constexpr int blockSize = 256;
    synth.setCurrentPlaybackSampleRate (48000.0);
    juce::MidiBuffer notes;

    for (int note : { 0, 9, 21, 45, 60, 69, 93, 117, 127 })
    {
        notes.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
        notes.addEvent (juce::MidiMessage::noteOff (1, note), blockSize / 2);
    }

    juce::AudioBuffer<float> audio (2, blockSize);
    audio.clear();
    synth.renderNextBlock (audio, notes, 0, blockSize);

    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        for (int sample = 0; sample < blockSize; ++sample)
            AlxFuzzHost::require (std::isfinite (audio.getSample (channel, sample)), "the synth plays finite samples");

    AlxFuzzHost::forgetNames();
    return 0;
}
