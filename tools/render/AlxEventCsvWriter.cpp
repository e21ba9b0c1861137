#include "render/AlxEventCsvWriter.h"

AlxEventCsvWriter::AlxEventCsvWriter (juce::OutputStream& stream) : out (stream) {}

juce::String AlxEventCsvWriter::lineOf (juce::int64 samplePosition, const juce::MidiMessage& message)
{
    return juce::String (samplePosition) + "," + juce::String::toHexString (message.getRawData(), message.getRawDataSize(), 1) + "\n";
}

bool AlxEventCsvWriter::add (juce::int64 samplePosition, const juce::MidiMessage& message)
{
    ok = ok && out.writeText (lineOf (samplePosition, message), false, false, nullptr);
    return ok;
}
