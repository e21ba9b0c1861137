#include "render/AlxSoundingNotes.h"

void AlxSoundingNotes::follow (const juce::MidiMessage& message)
{
    if (message.isNoteOn())
        sounding[(size_t) message.getChannel() - 1][(size_t) message.getNoteNumber()] = true;
    else if (message.isNoteOff())
        sounding[(size_t) message.getChannel() - 1][(size_t) message.getNoteNumber()] = false;
    else if (message.isAllNotesOff() || message.isAllSoundOff())
        sounding[(size_t) message.getChannel() - 1].fill (false);
}

std::vector<juce::MidiMessage> AlxSoundingNotes::getNoteOffs() const
{
    std::vector<juce::MidiMessage> noteOffs;
    for (int channel = 1; channel <= 16; ++channel)
        for (int note = 0; note < 128; ++note)
            if (sounding[(size_t) channel - 1][(size_t) note])
                noteOffs.push_back (juce::MidiMessage::noteOff (channel, note));
    return noteOffs;
}
