#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"
#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxArpModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Heap allocations made by the thread that runs the measured blocks. Every allocation of this
// program goes through the functions below; only those made while counting is on are counted.
namespace
{
    thread_local bool countingAllocations = false;
    std::atomic<long> countedAllocations { 0 };

    void* allocate (std::size_t size)
    {
        if (countingAllocations)
            countedAllocations.fetch_add (1, std::memory_order_relaxed);

        if (void* p = std::malloc (size == 0 ? 1 : size))
            return p;

        throw std::bad_alloc();
    }

    void* allocateAligned (std::size_t size, std::align_val_t alignment)
    {
        if (countingAllocations)
            countedAllocations.fetch_add (1, std::memory_order_relaxed);

        const auto a = (std::size_t) alignment;

        if (void* p = std::aligned_alloc (a, (size + a - 1) / a * a))
            return p;

        throw std::bad_alloc();
    }
}

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { try { return allocate (size); } catch (...) { return nullptr; } }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { try { return allocate (size); } catch (...) { return nullptr; } }
void* operator new (std::size_t size, std::align_val_t a) { return allocateAligned (size, a); }
void* operator new[] (std::size_t size, std::align_val_t a) { return allocateAligned (size, a); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }

namespace
{
    constexpr double sampleRate = 44100.0;

    void select (AlxParameter* parameter, const char* text)
    {
        parameter->setValue (parameter->getDomain()->findByText (text), AlxMessageCode::fromEditor, false, true);
    }

    AlxParameter* parameterOf (const AlxModule& module, int id)
    {
        return module.getProgramParameters()->findById (id);
    }

    // The whole note path at 120 bpm: a ten-note chord from the host through the MIDI input, the
    // transport, the trigger on 1/16 with a groove on all beats, the arp doubling the chord, both
    // LFOs modulating every setting that can be modulated, and the MIDI output back to the host. Reports the share of the block's real-time duration one block takes (in %), the
    // heap allocations per block and the messages posted per block (each posted message is one
    // allocation).
    void runNotePath (benchmark::State& state)
    {
        const int blockSize = (int) state.range (0);
        AlxPlimsarFilter processor;
        processor.initialise();
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        auto& root = static_cast<AlxPlimsarModule&> (*processor.getRootModule());
        auto& trigger = *root.getTriggerModule();
        auto& groove = *root.getGrooveModule();
        auto& arp = *root.getArpModule();
        auto& lfos = *root.getLfoGroup();

        select (trigger.getStepParameter(), "1/16");
        select (groove.getPatternParameter(), "All beats");
        select (groove.getAmountParameter(), "0.40");
        select (groove.getWidthParameter(), "0.60");
        select (arp.getDoublingParameter(), "Oct+5th");
        select (lfos.getLfo (0)->getShapeParameter(), "Tria");
        select (lfos.getLfo (0)->getLevelParameter(), "1.00");
        select (lfos.getLfo (1)->getShapeParameter(), "Sin");
        select (lfos.getLfo (1)->getFrequencyParameter(), "2");

        const std::pair<const AlxModule*, int> modulated[] = {
            { &trigger, AlxTriggerModule::stepSourceId }, { &trigger, AlxTriggerModule::velocitySourceId },
            { &trigger, AlxTriggerModule::gateSourceId }, { &groove, AlxGrooveModule::patternSourceId },
            { &groove, AlxGrooveModule::amountSourceId }, { &groove, AlxGrooveModule::widthSourceId },
            { &arp, AlxArpModule::doublingSourceId }, { &arp, AlxArpModule::maskSourceId },
        };

        for (size_t i = 0; i < std::size (modulated); ++i)
            select (parameterOf (*modulated[i].first, modulated[i].second), i % 2 == 0 ? "LFO1" : "LFO2");

        // The chord comes from the host with every block and the notes go back to the host, so the
        // measure holds the input and output stages but no synth voices.
        select (root.getMidiInputGroup()->getInputModule (0)->getDeviceParameter(), "VST/AU host");
        select (root.getMidiOutputGroup()->getOutputModule (0)->getDeviceParameter(), "VST host");
        root.getTransportModule()->postPlay();
        AlxMessageLoop::deliverPending();

        juce::AudioBuffer<float> audio (2, blockSize);
        juce::MidiBuffer midi;
        midi.ensureSize (4096);
        const auto runBlock = [&]
        {
            midi.clear();

            for (int note : { 48, 52, 55, 60, 62, 64, 67, 69, 71, 74 })
                midi.addEvent (juce::MidiMessage::noteOn (1, note, 0.8f), 0);

            const juce::ScopedLock sl (processor.getCallbackLock());
            processor.processBlock (audio, midi);
        };

        // One bar to settle: buffers and message queues reach their working size.
        for (int i = 0; i < (int) (2.0 * sampleRate) / blockSize; ++i)
            runBlock();

        AlxMessageLoop::deliverPending();
        countedAllocations = 0;
        long blocks = 0;

        // What the blocks post on the transport's state parameter: bar and beat changes and one
        // event per block with firings (the 500 ms tick comes from the message thread).
        AlxRecordingSink posted;
        auto* stateParameter = root.getTransportModule()->getStateParameter();
        stateParameter->addSink (&posted);

        for (auto _ : state)
        {
            countingAllocations = true;
            runBlock();
            countingAllocations = false;

            // The message thread catches up now and then, as it would beside a real audio thread.
            if (++blocks % 4096 == 0)
            {
                state.PauseTiming();
                AlxMessageLoop::deliverPending();
                state.ResumeTiming();
            }
        }

        AlxMessageLoop::deliverPending();
        stateParameter->removeSink (&posted);
        const int ticks = posted.count (stateParameter, AlxTransportModule::tick);

        const double blockPercent = blockSize / sampleRate / 100.0;
        state.counters["realtime%"] = benchmark::Counter (blockPercent, benchmark::Counter::kIsIterationInvariantRate
                                                                         | benchmark::Counter::kInvert);
        state.counters["allocs/block"] = benchmark::Counter ((double) countedAllocations.load() / (double) blocks);
        state.counters["posts/block"] = benchmark::Counter ((double) ((int) posted.records.size() - ticks) / (double) blocks);
        processor.releaseResources();
    }
}

BENCHMARK (runNotePath)->Name ("BM_NotePathBlock")->Arg (64)->Arg (512)->Arg (4096);
