#include "host-check/AlxPluginHost.h"

namespace
{
    [[noreturn]] void fail (const juce::String& message)
    {
        throw std::runtime_error (message.toStdString());
    }
}

AlxPluginHost::AlxPluginHost (Format format, const juce::File& bundle, const juce::String& lv2Uri)
{
    if (! bundle.isDirectory())
        fail ("no plug-in bundle at " + bundle.getFullPathName());

    juce::OwnedArray<juce::PluginDescription> found;

    if (format == Format::vst3)
    {
        auto* vst3 = new juce::VST3PluginFormat();
        formats.addFormat (vst3);
        vst3->findAllTypesForFile (found, bundle.getFullPathName());
    }
    else
    {
        auto* lv2 = new juce::LV2PluginFormat();
        formats.addFormat (lv2);
        lv2->searchPathsForPlugins (juce::FileSearchPath (bundle.getParentDirectory().getFullPathName()), false, false);
        lv2->findAllTypesForFile (found, lv2Uri);
    }

    if (found.isEmpty())
        fail ("no plug-in found in " + bundle.getFullPathName());

    description = *found.getFirst();
}

std::unique_ptr<juce::AudioPluginInstance> AlxPluginHost::createInstance (double sampleRate, int blockSize)
{
    juce::String error;
    auto instance = formats.createPluginInstance (description, sampleRate, blockSize, error);

    if (instance == nullptr)
        fail ("cannot instantiate " + description.name + ": " + error);

    return instance;
}

void AlxHostPlayHead::set (juce::int64 sample, double sampleRate, double ppq, double bpm, bool playing)
{
    info.setTimeInSamples (sample);
    info.setTimeInSeconds ((double) sample / sampleRate);
    info.setPpqPosition (ppq);
    info.setBpm (bpm);
    info.setIsPlaying (playing);
    info.setTimeSignature (TimeSignature { 4, 4 });
    info.setBarCount ((juce::int64) std::floor (ppq / 4.0));
    info.setPpqPositionOfLastBarStart (std::floor (ppq / 4.0) * 4.0);
}

AlxPluginSession::AlxPluginSession (juce::AudioPluginInstance& plugin_, double sampleRate, int blockSize)
    : plugin (plugin_), audio (juce::jmax (2, plugin_.getTotalNumOutputChannels()), blockSize)
{
    plugin.setPlayHead (&playHead);
    plugin.setRateAndBufferSizeDetails (sampleRate, blockSize);
    plugin.prepareToPlay (sampleRate, blockSize);
    midi.ensureSize (16384);
    events.reserve (4096);
}

AlxPluginSession::~AlxPluginSession()
{
    plugin.releaseResources();
    plugin.setPlayHead (nullptr);
}

const juce::MidiBuffer& AlxPluginSession::process (int numSamples, const juce::MidiBuffer& input)
{
    // A host may play a block longer than it announced; its own buffer grows for it.
    if (numSamples > audio.getNumSamples())
        audio.setSize (audio.getNumChannels(), numSamples);

    juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), audio.getNumChannels(), numSamples);
    block.clear();
    midi.clear();
    midi.addEvents (input, 0, numSamples, 0);
    plugin.processBlock (block, midi);

    for (const auto event : midi)
        events.push_back ({ samplesPlayed + event.samplePosition, event.getMessage() });

    samplesPlayed += numSamples;
    return midi;
}
