#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

// Benchmarks run on a thread that owns a JUCE message manager, so message delivery can be timed.
int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
