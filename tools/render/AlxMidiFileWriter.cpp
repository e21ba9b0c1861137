#include "render/AlxMidiFileWriter.h"

#include <cmath>

namespace
{
    juce::MidiMessage metaEvent (std::initializer_list<juce::uint8> bytes)
    {
        const std::vector<juce::uint8> data (bytes);
        return juce::MidiMessage (data.data(), (int) data.size(), 0.0);
    }

    // FF 58: numerator, the denominator as a power of two, MIDI clocks per beat of the
    // denominator, and eight 32nd notes per quarter note.
    juce::MidiMessage timeSignature (int numerator, int denominator)
    {
        int power = 0;

        while ((1 << power) < denominator)
            ++power;

        return metaEvent ({ 0xff, 0x58, 0x04, (juce::uint8) numerator, (juce::uint8) power,
                            (juce::uint8) (96 / denominator), 0x08 });
    }
}

AlxMidiFileWriter::AlxMidiFileWriter (const Format& format_, const juce::String& trackName) : format (format_)
{
    jassert (format.denominator >= 1 && format.denominator <= 16 && (format.denominator & (format.denominator - 1)) == 0);

    if (trackName.isNotEmpty())
        track.addEvent (juce::MidiMessage::textMetaEvent (3, trackName));

    track.addEvent (juce::MidiMessage::tempoMetaEvent ((int) std::lround (60000000.0 / format.bpm)));
    track.addEvent (timeSignature (format.numerator, format.denominator));
}

juce::int64 AlxMidiFileWriter::tickOf (juce::int64 samplePosition) const
{
    return (juce::int64) std::llround ((double) samplePosition * format.ppq * format.bpm / (60.0 * format.sampleRate));
}

void AlxMidiFileWriter::add (juce::int64 samplePosition, const juce::MidiMessage& message)
{
    if (message.getRawDataSize() == 0 || (message.getRawData()[0] >= 0xF0 && ! message.isSysEx()))
        return;

    sounding.follow (message);

    auto timed = message;
    timed.setTimeStamp ((double) tickOf (samplePosition));
    track.addEvent (timed);
}

bool AlxMidiFileWriter::writeTo (juce::OutputStream& stream, juce::int64 endSample) const
{
    auto complete = track;
    const auto endTick = (double) tickOf (endSample);

    const auto atEnd = [endTick] (juce::MidiMessage message)
    {
        message.setTimeStamp (endTick);
        return message;
    };

    for (const auto& noteOff : sounding.getNoteOffs())
        complete.addEvent (atEnd (noteOff));

    complete.addEvent (atEnd (juce::MidiMessage::endOfTrack()));

    juce::MidiFile file;
    file.setTicksPerQuarterNote (format.ppq);
    file.addTrack (complete);
    return file.writeTo (stream, 0);
}
