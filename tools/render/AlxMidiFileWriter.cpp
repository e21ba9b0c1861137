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

juce::int64 AlxMidiFileWriter::tickOf (const Format& format, juce::int64 samplePosition)
{
    return (juce::int64) std::llround ((double) samplePosition * format.ppq * format.bpm / (60.0 * format.sampleRate));
}

AlxMidiFileWriter::AlxMidiFileWriter (juce::OutputStream& stream, const Format& format_, const juce::String& trackName)
    : out (stream), format (format_)
{
    jassert (format.denominator >= 1 && format.denominator <= 16 && (format.denominator & (format.denominator - 1)) == 0);

    // The header of a file of one track, then the track's chunk with its length still unknown.
    ok = out.writeIntBigEndian ((int) juce::ByteOrder::bigEndianInt ("MThd")) && out.writeIntBigEndian (6)
         && out.writeShortBigEndian (0) && out.writeShortBigEndian (1) && out.writeShortBigEndian ((short) format.ppq)
         && out.writeIntBigEndian ((int) juce::ByteOrder::bigEndianInt ("MTrk")) && out.writeIntBigEndian (0);
    lengthField = out.getPosition() - 4;

    if (trackName.isNotEmpty())
        write (0, juce::MidiMessage::textMetaEvent (3, trackName));

    write (0, juce::MidiMessage::tempoMetaEvent ((int) std::lround (60000000.0 / format.bpm)));
    write (0, timeSignature (format.numerator, format.denominator));
}

void AlxMidiFileWriter::writeVariableLength (juce::uint32 value)
{
    // Seven bits a byte, the most significant first, every byte but the last with its top bit.
    juce::uint8 bytes[5];
    int n = 0;

    do
    {
        bytes[n++] = (juce::uint8) (value & 0x7f);
        value >>= 7;
    } while (value != 0);

    while (--n > 0)
        ok = ok && out.writeByte ((char) (bytes[n] | 0x80));

    ok = ok && out.writeByte ((char) bytes[0]);
}

void AlxMidiFileWriter::write (juce::int64 tick, const juce::MidiMessage& message)
{
    writeVariableLength ((juce::uint32) juce::jmax ((juce::int64) 0, tick - lastTick));
    lastTick = tick;

    const auto* data = message.getRawData();
    auto size = message.getRawDataSize();
    const auto status = data[0];

    // A channel message of the same status as the one before goes without its status byte; a
    // system exclusive message carries its length after the status byte.
    if (status == lastStatus && (status & 0xf0) != 0xf0 && size > 1)
    {
        ++data;
        --size;
    }
    else if (status == 0xf0)
    {
        ok = ok && out.writeByte ((char) status);
        ++data;
        --size;
        writeVariableLength ((juce::uint32) size);
    }

    ok = ok && out.write (data, (size_t) size);
    lastStatus = status;
}

bool AlxMidiFileWriter::add (juce::int64 samplePosition, const juce::MidiMessage& message)
{
    if (message.getRawDataSize() == 0 || (message.getRawData()[0] >= 0xF0 && ! message.isSysEx()))
        return ok;

    sounding.follow (message);

    write (tickOf (format, samplePosition), message);
    return ok;
}

bool AlxMidiFileWriter::finish (juce::int64 endSample)
{
    const auto endTick = tickOf (format, endSample);

    for (const auto& noteOff : sounding.getNoteOffs())
        write (endTick, noteOff);

    write (endTick, juce::MidiMessage::endOfTrack());

    const auto end = out.getPosition();
    ok = ok && out.setPosition (lengthField) && out.writeIntBigEndian ((int) (end - lengthField - 4)) && out.setPosition (end);
    out.flush();
    return ok;
}
