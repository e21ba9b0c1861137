#include "render/AlxRenderer.h"

#include "core/AlxPlimsarModule.h"
#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputDomainSet.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "modules/AlxTransportModule.h"
#include "render/AlxRenderError.h"
#include "framework/AlxMessagePump.h"

#include <algorithm>

namespace
{
    juce::String pathOf (const juce::File& file) { return file.getFullPathName(); }

    void checkReadable (const juce::File& file)
    {
        if (file.isDirectory() || ! juce::FileInputStream (file).openedOk())
            throw AlxRenderError ("cannot read " + pathOf (file));
    }
}

AlxRenderer::AlxRenderer (AlxMidiDeviceService& systemDevices) : devices (systemDevices)
{
    {
        // The device managers take the service that is the default when the tree is built.
        const AlxMidiDeviceService::ScopedDefault renderDevices (devices);
        processor.initialise();
    }

    AlxMessagePump::deliverPending();
}

AlxRenderer::~AlxRenderer() = default;

AlxPlimsarModule& AlxRenderer::getRoot() const
{
    return static_cast<AlxPlimsarModule&> (*processor.getRootModule());
}

AlxTransportModule& AlxRenderer::getTransport() const
{
    return *getRoot().getTransportModule();
}

void AlxRenderer::loadBank (const juce::File& file)
{
    checkReadable (file);

    if (! processor.loadBankFile (file))
        throw AlxRenderError (pathOf (file) + " is not a bank preset file plimsar can load");

    AlxMessagePump::deliverPending();
}

void AlxRenderer::selectProgram (const juce::String& indexOrName)
{
    const int numPrograms = processor.getNumPrograms();
    int index = -1;

    if (indexOrName.containsOnly ("0123456789") && indexOrName.length() <= 9)
    {
        index = indexOrName.getIntValue();

        if (index >= numPrograms)
            throw AlxRenderError ("there is no program " + indexOrName + " (0 to " + juce::String (numPrograms - 1) + ")");
    }
    else
    {
        for (int i = 0; i < numPrograms && index < 0; ++i)
            if (processor.getProgramName (i) == indexOrName)
                index = i;

        if (index < 0)
            throw AlxRenderError ("no program is named '" + indexOrName + "'");
    }

    processor.setCurrentProgram (index);
    AlxMessagePump::deliverPending();
}

void AlxRenderer::loadPreset (const juce::File& file)
{
    checkReadable (file);

    if (! processor.loadProgramFile (file))
        throw AlxRenderError (pathOf (file) + " is not a program preset file plimsar can load");

    AlxMessagePump::deliverPending();
}

void AlxRenderer::setTempo (double bpm)
{
    auto& parameter = *getTransport().getTempoParameter();

    {
        const juce::ScopedLock sl (parameter.getLock());
        parameter.setRealValue ((float) bpm, AlxMessageCode::internal, false, true);
    }

    AlxMessagePump::deliverPending();
}

void AlxRenderer::setTimeSignature (int numerator, int denominator)
{
    for (auto [parameter, value] : { std::pair (getTransport().getNumeratorParameter(), numerator),
                                     std::pair (getTransport().getDenominatorParameter(), denominator) })
    {
        const juce::ScopedLock sl (parameter->getLock());
        parameter->setRealValue ((float) value, AlxMessageCode::internal, false, true);
    }

    AlxMessagePump::deliverPending();
}

void AlxRenderer::choose (AlxParameter& parameter, int valueIndex)
{
    const juce::ScopedLock sl (parameter.getLock());
    parameter.setValue (parameter.getDomain()->getValues()[(size_t) valueIndex].get(), AlxMessageCode::internal, false, true);
}

void AlxRenderer::playTrack (int track)
{
    auto& midiInput = *getRoot().getMidiInputGroup()->getInputModule (0);
    auto& trackParameter = *midiInput.getTrackParameter();
    const int numTracks = (int) trackParameter.getDomain()->getValues().size();

    if (track < 0 || track >= numTracks)
        throw AlxRenderError ("there is no built-in track " + juce::String (track) + " (0 to " + juce::String (numTracks - 1) + ")");

    choose (*midiInput.getDeviceParameter(), AlxMidiFromDeviceDomain::builtInTracks);
    choose (trackParameter, track);
    input.reset();
    AlxMessagePump::deliverPending();
}

void AlxRenderer::playInput (AlxRenderInput fileInput)
{
    auto& midiInput = *getRoot().getMidiInputGroup()->getInputModule (0);
    choose (*midiInput.getDeviceParameter(), AlxMidiFromDeviceDomain::host);
    // Channel value 0 is "All".
    choose (*midiInput.getChannelParameter(), 0);
    input = std::move (fileInput);
    AlxMessagePump::deliverPending();
}

double AlxRenderer::getTempo() const
{
    return getTransport().getTempoParameter()->getRealValue();
}

int AlxRenderer::getNumerator() const
{
    return (int) getTransport().getNumeratorParameter()->getRealValue();
}

int AlxRenderer::getDenominator() const
{
    return (int) getTransport().getDenominatorParameter()->getRealValue();
}

juce::String AlxRenderer::getCurrentProgramName()
{
    return processor.getProgramName (processor.getCurrentProgram());
}

juce::int64 AlxRenderer::getMaximumLength()
{
    // Song positions are counted in samples as doubles, exact far beyond this (2^53); here they
    // also keep the precision of a sample's fraction of a quarter note. At 384 kHz it is still
    // some twenty years.
    return (juce::int64) 1 << 48;
}

void AlxRenderer::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    const juce::ScopedLock sl (processor.getCallbackLock());
    processor.processBlock (audio, midi);
}

void AlxRenderer::startTransport()
{
    auto& transport = getTransport();

    // Armed since start-up; play starts it at position 0 and asks every module to reset.
    transport.postPlay();
    AlxMessagePump::deliverPending();

    if (! transport.isPlaying())
        throw AlxRenderError ("the transport did not start");

    // A pass of no samples takes the reset, so the first block starts with nothing pending.
    juce::AudioBuffer<float> noAudio (2, 0);
    juce::MidiBuffer noMidi;
    processBlock (noAudio, noMidi);
    AlxMessagePump::deliverPending();
}

void AlxRenderer::render (double sampleRate, int blockSize, juce::int64 numSamples, AlxRenderListener& listener)
{
    jassert (numSamples <= getMaximumLength());

    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    // Released however the render ends, so the processor can be prepared again.
    const struct Release
    {
        AlxPlimsarFilter& filter;
        ~Release() { filter.releaseResources(); }
    } release { processor };

    AlxMessagePump::deliverPending();
    startTransport();

    if (input)
        input->start (getSamplesPerQuarter (sampleRate));

    juce::AudioBuffer<float> audio (2, blockSize);
    juce::MidiBuffer midi;
    midi.ensureSize (8192);
    deliveries.reserve (1024);
    sounding.clear();

    for (juce::int64 done = 0; done < numSamples;)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, numSamples - done);
        audio.setSize (2, n, false, false, true);
        audio.clear();
        midi.clear();

        if (input)
            input->fillBlock (midi, done, n);

        processBlock (audio, midi);
        collectDeliveries (done, midi, listener);
        listener.audioRendered (audio);
        done += n;
        listener.blockDone (done, numSamples);
        // Few blocks post anything; those that do are followed by delivery, as a message
        // thread beside the audio thread would catch up.
        AlxMessagePump::deliverPosted();
    }

    // What JUCE queued meanwhile (the transport's timer) is delivered with the render.
    AlxMessagePump::deliverPending();

    // The notes still sounding end with the render.
    for (const auto& noteOff : sounding.getNoteOffs())
        listener.midiDelivered (numSamples, noteOff);
}

void AlxRenderer::collectDeliveries (juce::int64 blockStart, const juce::MidiBuffer& hostMidi, AlxRenderListener& listener)
{
    // The output stage fills the synth's cable and the host's buffer afresh in every block (and
    // empties the one it does not deliver to) and sends to devices at once.
    deliveries.clear();

    if (const auto* synthMidi = getRoot().getSynthMidiCable().getObject())
        for (const auto event : *synthMidi)
            deliveries.push_back ({ blockStart + event.samplePosition, event.getMessage() });

    for (const auto event : hostMidi)
        deliveries.push_back ({ blockStart + event.samplePosition, event.getMessage() });

    for (auto& message : devices.takeSent())
        deliveries.push_back ({ blockStart, message });

    std::stable_sort (deliveries.begin(), deliveries.end(),
                      [] (const Delivery& a, const Delivery& b) { return a.position < b.position; });

    for (const auto& delivery : deliveries)
    {
        sounding.follow (delivery.message);
        listener.midiDelivered (delivery.position, delivery.message);
    }
}
