#include "modules/AlxLFO.h"

#include <benchmark/benchmark.h>

// One modulated read: a table lookup, a noise lookup and the shaping.
static void BM_LFOValueAt (benchmark::State& state)
{
    AlxLFO lfo (12345);
    lfo.setWaveform (AlxLFO::sine);
    lfo.setDeviation (0.5);
    double t = 0.0;

    for (auto _ : state)
    {
        benchmark::DoNotOptimize (lfo.valueAt (t));
        t += 0.01;
    }
}
BENCHMARK (BM_LFOValueAt);

// The audio thread pushes the signature before every modulated read; a change rebuilds the table.
static void BM_LFOSignatureChangeRebuild (benchmark::State& state)
{
    AlxLFO lfo (12345);
    lfo.setWaveform (AlxLFO::sine);
    bool odd = false;

    for (auto _ : state)
    {
        lfo.setTimeSignature (odd ? 3 : 4, 4, false);
        odd = ! odd;
        benchmark::DoNotOptimize (lfo.getTable().data());
    }
}
BENCHMARK (BM_LFOSignatureChangeRebuild);

// An unchanged signature, as in almost every block.
static void BM_LFOSignatureUnchanged (benchmark::State& state)
{
    AlxLFO lfo (12345);

    for (auto _ : state)
    {
        lfo.setTimeSignature (4, 4, false);
        benchmark::DoNotOptimize (lfo.getTable().data());
    }
}
BENCHMARK (BM_LFOSignatureUnchanged);

// What a view does to draw one cycle.
static void BM_LFOSampleOneCycle (benchmark::State& state)
{
    AlxLFO lfo (12345);
    std::vector<double> out;
    out.reserve (513);

    for (auto _ : state)
    {
        lfo.sample (0.0, 4.0, 4.0 / 512.0, out, true);
        benchmark::DoNotOptimize (out.data());
    }
}
BENCHMARK (BM_LFOSampleOneCycle);
