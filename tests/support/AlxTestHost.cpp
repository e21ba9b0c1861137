#include "support/AlxTestHost.h"

#include "support/AlxMessageLoop.h"

AlxTestHost::AlxTestHost (double rate, int maximumBlockSize)
{
    processor.initialise();
    deliver();
    prepare (rate, maximumBlockSize);
}

AlxTestHost::~AlxTestHost()
{
    processor.releaseResources();
    processor.setPlayHead (nullptr);
}

void AlxTestHost::setPlayHead (juce::AudioPlayHead* playHead)
{
    processor.setPlayHead (playHead);
}

void AlxTestHost::prepare (double rate, int maximumBlockSize)
{
    sampleRate = rate;
    samplesProcessed = 0;
    processor.setRateAndBufferSizeDetails (rate, maximumBlockSize);
    processor.prepareToPlay (rate, maximumBlockSize);
    audio.setSize (2, maximumBlockSize);
}

void AlxTestHost::processBlock (int numSamples, const juce::MidiBuffer& hostMidi)
{
    midi = hostMidi;
    audio.setSize (2, numSamples, false, false, true);
    audio.clear();

    {
        const juce::ScopedLock sl (processor.getCallbackLock());

        if (! processor.juce::AudioProcessor::isSuspended())
            processor.processBlock (audio, midi);
    }

    samplesProcessed += numSamples;
}

std::vector<AlxTestHost::Event> AlxTestHost::run (juce::int64 totalSamples, int blockSize,
                                                  const std::function<juce::MidiBuffer (juce::int64, int)>& input)
{
    std::vector<Event> events;
    juce::int64 done = 0;

    while (done < totalSamples)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, totalSamples - done);
        const auto start = samplesProcessed;
        processBlock (n, input ? input (start, n) : juce::MidiBuffer());

        for (const auto metadata : midi)
            events.push_back ({ start + metadata.samplePosition, metadata.getMessage() });

        deliver();
        done += n;
    }

    return events;
}

void AlxTestHost::deliver()
{
    AlxMessageLoop::deliverPending();
}
