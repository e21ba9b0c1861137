#include "modules/AlxTransportModule.h"
#include "support/AlxTestPlayHead.h"
#include "support/AlxTestProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    // One 512-sample block of the transport as the root runs it, with or without a host.
    void runTransportBlocks (benchmark::State& state, bool withHost)
    {
        AlxTestProcessor processor;
        AlxTestPlayHead playHead;
        AlxModuleContainer container;
        container.setFilter (&processor);

        if (withHost)
        {
            playHead.setPlaying (true);
            processor.setPlayHead (&playHead);
        }

        AlxTransportModule transport (&container);
        transport.initialise();
        transport.prepareToPlay (48000.0, 512);
        double ppq = 0.0;

        for (auto _ : state)
        {
            if (withHost)
            {
                ppq += 512.0 / 24000.0;
                playHead.setPpqPosition (ppq);
            }

            transport.process (512);
            transport.advanceSampleCounter (512);
        }

        processor.setPlayHead (nullptr);
    }
}

static void BM_TransportBlockOwnClock (benchmark::State& state) { runTransportBlocks (state, false); }
BENCHMARK (BM_TransportBlockOwnClock);

static void BM_TransportBlockHost (benchmark::State& state) { runTransportBlocks (state, true); }
BENCHMARK (BM_TransportBlockHost);
