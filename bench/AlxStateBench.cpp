#include "core/AlxLegacyDocument.h"
#include "core/AlxPlimsarFilter.h"
#include "framework/AlxStateChunk.h"
#include "framework/AlxXmlGuard.h"
#include "support/AlxMessageLoop.h"

#include <benchmark/benchmark.h>

namespace
{
    // A full 1.0 bank: 9 global values and 128 programs of 33 values.
    juce::String legacyBank()
    {
        juce::String text = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.3\"><a/><b/><g>";

        for (int index = -9; index < 0; ++index)
            text << "<v i=\"" << index << "\" v=\"" << -index << "\"/>";

        text << "</g><fxb>";

        for (int program = 0; program < 128; ++program)
        {
            text << "<p name=\"Program " << program << "\">";
            int index = 0;

            for (int end : { 17, 25, 33 })
            {
                text << "<g>";

                for (; index < end; ++index)
                    text << "<v i=\"" << index << "\" v=\"" << (program + index) % 100 << "\"/>";

                text << "</g>";
            }

            text << "</p>";
        }

        return text + "</fxb></plugin>";
    }

    // The converted bank: a document of the current layout with every module's 128 programs, the
    // size of a full bank of this system.
    const juce::String& fullBankText()
    {
        static const juce::String text = []
        {
            auto legacy = juce::parseXML (legacyBank());
            auto converted = AlxLegacyDocument::convert (*legacy, "fxb", "plimsar", "1.5.544", AlxLegacyDocument::mapParameter);
            return converted->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
        }();

        return text;
    }
}

// The guard's walk over a full bank, which every loaded chunk pays before parsing.
static void BM_XmlGuardFullBank (benchmark::State& state)
{
    const auto& text = fullBankText();

    for (auto _ : state)
        benchmark::DoNotOptimize (AlxXmlGuard::canParse (text));

    state.SetBytesProcessed (state.iterations() * (int64_t) text.getNumBytesAsUTF8());
}
BENCHMARK (BM_XmlGuardFullBank)->Unit (benchmark::kMicrosecond);

// Parsing the same text with JUCE's reader, for comparison.
static void BM_ParseFullBank (benchmark::State& state)
{
    const auto& text = fullBankText();

    for (auto _ : state)
        benchmark::DoNotOptimize (juce::parseXML (text));

    state.SetBytesProcessed (state.iterations() * (int64_t) text.getNumBytesAsUTF8());
}
BENCHMARK (BM_ParseFullBank)->Unit (benchmark::kMicrosecond);

// Converting a full 1.0 bank (parsed) into the current layout.
static void BM_ConvertLegacyBank (benchmark::State& state)
{
    const auto legacy = juce::parseXML (legacyBank());

    for (auto _ : state)
        benchmark::DoNotOptimize (AlxLegacyDocument::convert (*legacy, "fxb", "plimsar", "1.5.544", AlxLegacyDocument::mapParameter));
}
BENCHMARK (BM_ConvertLegacyBank)->Unit (benchmark::kMicrosecond);

// Saving and loading the product's bank chunk (the host's state calls), messages delivered
// outside the timing.
static void BM_SaveBankChunk (benchmark::State& state)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    juce::MemoryBlock chunk;

    for (auto _ : state)
        processor.getStateInformation (chunk);

    state.counters["bytes"] = (double) chunk.getSize();
}
BENCHMARK (BM_SaveBankChunk)->Unit (benchmark::kMicrosecond);

static void BM_LoadBankChunk (benchmark::State& state)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);

    for (auto _ : state)
    {
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
        state.PauseTiming();
        AlxMessageLoop::deliverPending();
        state.ResumeTiming();
    }

    state.counters["bytes"] = (double) chunk.getSize();
}
BENCHMARK (BM_LoadBankChunk)->Unit (benchmark::kMicrosecond);
