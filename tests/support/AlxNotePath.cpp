#include "support/AlxNotePath.h"

#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "modules/AlxTransportModule.h"

#include <algorithm>

AlxNotePath::AlxNotePath (AlxTestHost& host_) : host (host_)
{
    // The chord arrives as host MIDI, re-sent at the start of every block, so it is held from the
    // first sample of each block whatever resets came before.
    select (host.getRoot().getMidiInputGroup()->getInputModule (0)->getDeviceParameter(), "VST/AU host");
}

void AlxNotePath::start()
{
    host.getRoot().getTransportModule()->postPlay();
}

void AlxNotePath::hold (std::initializer_list<int> notes)
{
    for (int note : held)
        if (std::find (notes.begin(), notes.end(), note) == notes.end())
            released.push_back (note);

    held.assign (notes);
}

void AlxNotePath::select (AlxParameter* parameter, const juce::String& text)
{
    auto* value = parameter->getDomain()->findByText (text);
    jassert (value != nullptr);
    parameter->setValue (value, AlxMessageCode::fromEditor, false, true);
}

void AlxNotePath::setTempo (double bpm)
{
    host.getRoot().getTransportModule()->getTempoParameter()->setRealValue ((float) bpm, AlxMessageCode::fromEditor, true, true);
}

std::vector<AlxNotePath::Note> AlxNotePath::processBlock (int numSamples)
{
    juce::MidiBuffer chord;

    for (int note : released)
        chord.addEvent (juce::MidiMessage::noteOff (1, note), 0);

    released.clear();

    for (int note : held)
        chord.addEvent (juce::MidiMessage::noteOn (1, note, inputVelocity), 0);

    host.processBlock (numSamples, chord);
    std::vector<Note> notes;

    for (const auto metadata : *host.getRoot().getGeneratedMidiCable().getObject())
    {
        const auto m = metadata.getMessage();
        notes.push_back ({ metadata.samplePosition, m.getNoteNumber(), m.isNoteOn() ? (int) m.getVelocity() : 0 });

        if (m.isNoteOn() && (metadata.samplePosition < 0 || metadata.samplePosition >= numSamples))
            ++misplacedNoteOns;
    }

    return notes;
}

std::vector<AlxNotePath::Note> AlxNotePath::run (juce::int64 totalSamples, const std::function<int()>& nextBlockSize)
{
    host.deliver();
    std::vector<Note> notes;
    juce::int64 done = 0, undelivered = 0;

    while (done < totalSamples)
    {
        const int n = (int) std::min ((juce::int64) nextBlockSize(), totalSamples - done);

        for (auto note : processBlock (n))
        {
            note.sample += done;
            notes.push_back (note);
        }

        // Posted events pile up between deliveries, as they would while a host's message thread
        // is busy; delivering once a minute of audio keeps the queue short and the test quick.
        done += n;
        undelivered += n;

        if (undelivered >= 60 * (juce::int64) host.getSampleRate())
        {
            host.deliver();
            undelivered = 0;
        }
    }

    host.deliver();
    return notes;
}

std::vector<AlxNotePath::Note> AlxNotePath::run (juce::int64 totalSamples, int blockSize)
{
    return run (totalSamples, [blockSize] { return blockSize; });
}

std::vector<juce::int64> AlxNotePath::samples (const std::vector<Note>& notes, bool noteOns)
{
    std::vector<juce::int64> result;

    for (auto& n : notes)
        if ((n.velocity > 0) == noteOns)
            result.push_back (n.sample);

    std::sort (result.begin(), result.end());
    return result;
}
