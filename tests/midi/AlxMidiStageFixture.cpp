#include "midi/AlxMidiStageFixture.h"

namespace
{
    std::string describeEvent (int position, const juce::uint8* data, int size)
    {
        return (juce::String (position) + ": " + juce::String::toHexString (data, size)).toStdString();
    }
}

std::vector<std::string> AlxMidiText::describe (const juce::MidiBuffer& buffer)
{
    std::vector<std::string> lines;

    for (const auto event : buffer)
        lines.push_back (describeEvent (event.samplePosition, event.data, event.numBytes));

    return lines;
}

std::vector<std::string> AlxMidiText::describe (const std::vector<juce::MidiMessage>& messages)
{
    std::vector<std::string> lines;

    for (auto& message : messages)
        lines.push_back (describeEvent (0, message.getRawData(), message.getRawDataSize()));

    return lines;
}

std::vector<std::string> AlxMidiText::allNotesOff (int channel)
{
    juce::MidiBuffer buffer;

    for (int i = 0; i < 16; ++i)
        buffer.addEvent (juce::MidiMessage::allNotesOff (channel), 0);

    return describe (buffer);
}
