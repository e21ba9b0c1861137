#include "framework/AlxGeneralDomainSet.h"
#include "framework/AlxParameterSet.h"
#include "framework/AlxRealParameter.h"
#include "support/AlxMessageLoop.h"

#include <benchmark/benchmark.h>

#include <array>

namespace
{
    struct CountingSink : AlxMessageSink
    {
        void handleMessage (void*, int, std::uint32_t) override { ++received; }
        int received = 0;
    };
}

// Posting a batch of messages to a source with a few sinks and delivering them on the message
// thread: the cost of one observer notification end to end.
static void BM_PostAndDeliver (benchmark::State& state)
{
    const int sinks = (int) state.range (0);
    constexpr int batch = 256;
    AlxMessageSource source;
    std::vector<CountingSink> observers ((size_t) sinks);

    for (auto& o : observers)
        source.addSink (&o);

    for (auto _ : state)
    {
        for (int i = 0; i < batch; ++i)
            source.postMessage (&source, 0x105);

        AlxMessageLoop::deliverUntil ([&] { return observers.front().received >= batch; });
        observers.front().received = 0;
    }

    state.SetItemsProcessed (state.iterations() * batch);
}
BENCHMARK (BM_PostAndDeliver)->Arg (1)->Arg (4)->Arg (16);

// Posting alone, as the audio thread does it.
static void BM_PostOnly (benchmark::State& state)
{
    AlxMessageSource source;
    CountingSink observer;
    source.addSink (&observer);
    int posted = 0;

    for (auto _ : state)
    {
        source.postMessage (&source, 0x105);

        if (++posted == 4096)
        {
            state.PauseTiming();
            AlxMessageLoop::deliverPending();
            posted = 0;
            state.ResumeTiming();
        }
    }

    AlxMessageLoop::deliverPending();
}
BENCHMARK (BM_PostOnly);

// Reading an indexed parameter's current value under its domain lock.
static void BM_LockedParameterRead (benchmark::State& state)
{
    AlxGeneralDomainSet domains;
    AlxParameterSet set;
    auto* p = set.add (std::make_unique<AlxRealParameter> (&set, 0, 0, domains.getPercentageDomain()));
    double sum = 0.0;

    for (auto _ : state)
    {
        sum += p->getValue()->getRealValue();
        benchmark::DoNotOptimize (sum);
    }
}
BENCHMARK (BM_LockedParameterRead);
