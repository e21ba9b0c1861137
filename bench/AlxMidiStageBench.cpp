#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxTestHost.h"

#include <benchmark/benchmark.h>

namespace
{
    constexpr int blockSize = 512;

    void choose (AlxParameter& parameter, const juce::String& text)
    {
        parameter.setValue (parameter.getDomain()->findByText (text), 2, false, true);
    }

    // 512-sample blocks of the MIDI input and output stages, as the root runs them, in a whole
    // processor at 120 bpm. The transport's clock moves on without the transport itself running.
    // The trigger's output holds one note per block that ends in the next block.
    void runMidiStages (benchmark::State& state, const juce::String& source, const juce::String& destination)
    {
        AlxTestHost host (48000.0, blockSize);
        auto& root = host.getRoot();
        auto& input = *root.getMidiInputGroup()->getInputModule (0);
        auto& output = *root.getMidiOutputGroup()->getOutputModule (0);
        auto& transport = *root.getTransportModule();
        transport.getTempoParameter()->setRealValue (120.0f, 2, true, true);
        choose (*input.getDeviceParameter(), source);
        choose (*output.getDeviceParameter(), destination);
        transport.postPlay();
        host.deliver();

        // Host MIDI: the given number of notes, spread over the block, on channel 1.
        const auto numEvents = (int) state.range (0);
        juce::MidiBuffer incoming, block;

        for (int i = 0; i < numEvents; ++i)
            incoming.addEvent (juce::MidiMessage::noteOn (1, 36 + i % 64, (juce::uint8) 100), i * blockSize / juce::jmax (1, numEvents));

        block.ensureSize (8192);
        auto& generated = *root.getGeneratedMidiCable().getObject();
        std::int64_t passedOn = 0;

        for (auto _ : state)
        {
            // The host's buffer refilled byte for byte, so the refill costs little next to the stages.
            block.data.clearQuick();
            block.data.addArray (incoming.data);
            generated.clear();
            generated.addEvent (juce::MidiMessage::noteOn (1, 72, (juce::uint8) 100), 10);
            generated.addEvent (juce::MidiMessage::noteOff (1, 72), blockSize + 100);

            root.getHostMidiCable().attach (&block, false);
            input.process (blockSize);
            output.process (blockSize);
            root.getHostMidiCable().attach (nullptr, false);
            transport.advanceSampleCounter (blockSize);
            passedOn += root.getInputMidiCable().getObject()->getNumEvents();
        }

        state.counters["input events/block"] = benchmark::Counter ((double) passedOn / (double) state.iterations());
    }
}

static void BM_MidiStagesHostToHost (benchmark::State& state) { runMidiStages (state, "VST/AU host", "VST host"); }
BENCHMARK (BM_MidiStagesHostToHost)->Arg (0)->Arg (16)->Arg (128);

static void BM_MidiStagesDemoToSynth (benchmark::State& state) { runMidiStages (state, "Track", "Built-in synth"); }
BENCHMARK (BM_MidiStagesDemoToSynth)->Arg (0);
