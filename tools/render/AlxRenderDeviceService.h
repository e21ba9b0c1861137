#pragma once

#include "midi/AlxMidiDeviceService.h"

#include <vector>

// The MIDI devices of an offline render. It offers no inputs (the render's input is a file or a
// built-in track) and the outputs of another service by name, so a state that chooses an output
// device resolves as it would on this machine; but an output it opens only records what it is
// sent: a render runs faster than real time and must not play on a real device.
class AlxRenderDeviceService : public AlxMidiDeviceService
{
public:
    explicit AlxRenderDeviceService (AlxMidiDeviceService& names);

    juce::StringArray getInputNames() override { return {}; }
    juce::StringArray getOutputNames() override;
    std::unique_ptr<AlxMidiInputDevice> openInput (const juce::String&, AlxMidiInputDeviceCallback&) override { return nullptr; }
    std::unique_ptr<AlxMidiOutputDevice> openOutput (const juce::String& name) override;

    // What the open outputs were sent since the last call, in order; the list is emptied.
    // Renders are single-threaded: sends and this call happen on the thread that processes.
    std::vector<juce::MidiMessage> takeSent();

private:
    class RecordingOutput;

    AlxMidiDeviceService& nameSource;
    std::vector<juce::MidiMessage> sent;
};
