#pragma once

#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxMemoryMidiDeviceService.h"
#include "support/AlxTestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The whole processor in a test host at 48 kHz and 120 bpm, with in-memory MIDI devices standing
// in for the system's: the input devices "Keys" and "Other" and the output device "Synth" exist
// but are not enabled.
class AlxMidiStageFixture : public testing::Test
{
public:
    static constexpr int blockSize = 480;

protected:

    AlxMidiStageFixture()
    {
        service.addInput ("Keys");
        service.addInput ("Other");
        service.addOutput ("Synth");

        // 120 bpm, as the factory bank sets it: 24000 samples per quarter note.
        transport().getTempoParameter()->setRealValue (120.0f, AlxMessageCode::fromEditor, true, true);
        host.deliver();
    }

    AlxMidiInputGroupModule& inputGroup() { return *host.getRoot().getMidiInputGroup(); }
    AlxMidiOutputGroupModule& outputGroup() { return *host.getRoot().getMidiOutputGroup(); }
    AlxMidiInputModule& input() { return *inputGroup().getInputModule (0); }
    AlxMidiOutputModule& output() { return *outputGroup().getOutputModule (0); }
    AlxTransportModule& transport() { return *host.getRoot().getTransportModule(); }

    // Picks the value with this text, as the editor does, and delivers what follows from it.
    void choose (AlxParameter& parameter, const juce::String& text)
    {
        auto* value = parameter.getDomain()->findByText (text);
        ASSERT_NE (value, nullptr) << text;
        parameter.setValue (value, AlxMessageCode::fromEditor, false, true);
        host.deliver();
    }

    ~AlxMidiStageFixture() override
    {
        output().getMidiInputPin()->disconnect (&triggerStandIn);
    }

    // From now on the output module's input is a cable the test fills (triggerEvents), standing
    // in for the trigger's output, so each block carries exactly the events a test gives it.
    void standInForTrigger()
    {
        auto* pin = output().getMidiInputPin();
        pin->disconnect (&host.getRoot().getGeneratedMidiCable());
        pin->connect (&triggerStandIn);
    }

    juce::MidiBuffer& triggerEvents() { return *triggerStandIn.getObject(); }

    juce::String chosen (const AlxParameter& parameter) const { return parameter.getValue()->getText(); }

    // Enables the devices in the group's manager and lists them in its device choice.
    template <class Group>
    void enable (Group& group, std::initializer_list<const char*> names)
    {
        for (auto* name : names)
            group.getDeviceManager()->setEnabled (name, true);

        group.rebuildDeviceValues();
        host.deliver();
    }

    std::vector<int> heldNotes()
    {
        std::vector<int> notes;
        auto& keys = *host.getRoot().getHeldKeysCable().getObject();

        for (int note = 0; note < 128; ++note)
            if (keys.isNoteOnForChannels (0xffff, note))
                notes.push_back (note);

        return notes;
    }

    juce::MidiBuffer& inputCopy() { return *host.getRoot().getInputMidiCable().getObject(); }
    juce::MidiBuffer& generated() { return *host.getRoot().getGeneratedMidiCable().getObject(); }
    juce::MidiBuffer& toSynth() { return *host.getRoot().getSynthMidiCable().getObject(); }

    AlxMemoryMidiDeviceService service;
    AlxMidiDeviceService::ScopedDefault useMemoryDevices { service };
    AlxTestHost host;

private:
    AlxMidiCable triggerStandIn { new juce::MidiBuffer() };
};

namespace AlxMidiText
{
    // "position: bytes in hex", one per event, for readable expectations.
    std::vector<std::string> describe (const juce::MidiBuffer& buffer);
    std::vector<std::string> describe (const std::vector<juce::MidiMessage>& messages);

    // Sixteen All Notes Off on the channel (1 ... 16), at position 0.
    std::vector<std::string> allNotesOff (int channel);
}
