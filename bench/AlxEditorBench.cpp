#include "core/AlxPlimsarFilter.h"
#include "support/AlxMessageLoop.h"

#include <benchmark/benchmark.h>
#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
    // Opening and closing the editor: what a musician waits for when the plug-in's window opens.
    // Every iteration creates the look and feel and parses the logos again (the last editor took
    // them with it); the help pages stay registered in the processor's cache after the first.
    void BM_buildEditor (benchmark::State& state)
    {
        AlxPlimsarFilter processor;
        processor.initialise();
        AlxMessageLoop::deliverPending();

        for (auto _ : state)
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
            benchmark::DoNotOptimize (editor.get());
            processor.editorBeingDeleted (editor.get());
            editor.reset();
        }
    }

    // Opening and drawing it once, as a window does when it appears.
    void BM_buildAndDrawEditor (benchmark::State& state)
    {
        AlxPlimsarFilter processor;
        processor.initialise();
        AlxMessageLoop::deliverPending();

        for (auto _ : state)
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
            benchmark::DoNotOptimize (editor->createComponentSnapshot (editor->getLocalBounds()));
            processor.editorBeingDeleted (editor.get());
            editor.reset();
        }
    }
}

BENCHMARK (BM_buildEditor)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_buildAndDrawEditor)->Unit (benchmark::kMillisecond);
