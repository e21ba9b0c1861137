#include "midi/AlxMidiSequencer.h"

#include <algorithm>
#include <cmath>

namespace
{
    // JUCE's MIDI reader reserves room for as many bytes as its stream says it holds, up to its
    // limit of 200 MB, before it reads one. A zip entry's stream says what the archive's directory
    // claims, so an entry is read as far as it really goes first and the reader gets those bytes.
    juce::MemoryBlock bytesOf (juce::InputStream& entry)
    {
        constexpr juce::int64 readerLimit = 200 * 1024 * 1024;
        juce::MemoryOutputStream out;
        char buffer[8192];

        for (juce::int64 total = 0; total < readerLimit;)
        {
            const auto wanted = (int) std::min ((juce::int64) sizeof (buffer), readerLimit - total);
            const auto got = entry.read (buffer, wanted);

            if (got <= 0)
                break;

            out.write (buffer, (size_t) got);
            total += got;
        }

        return out.getMemoryBlock();
    }
}

void AlxMidiSequencer::play (int fileIndex, int trackIndex, double position, int numSamples,
                             double samplesPerQuarter, int barQuarters, juce::MidiBuffer& out) const
{
    if (! juce::isPositiveAndBelow (fileIndex, (int) files.size()) || numSamples <= 0
        || ! (samplesPerQuarter > 0.0) || ! std::isfinite (samplesPerQuarter) || ! std::isfinite (position))
        return;

    const auto* track = files[(size_t) fileIndex]->getTrack (trackIndex);

    if (track == nullptr)
        return;

    // The last event, the end-of-track meta event included, sets the length, rounded up to
    // whole bars so the loop stays in step with the bars of the song.
    auto end = track->getEndTime();

    if (barQuarters > 0)
    {
        const double bar = barQuarters * ticksPerQuarter;
        const auto bars = std::floor (end / bar);

        if (end - bar * bars != 0.0)
            end = (bars + 1.0) * bar;
    }

    if (! (end > 0.0))
        return;

    // The block as a window of ticks inside the loop. fmod is exact, so even far song positions
    // land inside the loop and every sample position stays within 0 ... numSamples.
    auto t0 = std::fmod (position * ticksPerQuarter, end);

    if (t0 < 0.0)
        t0 += end;

    const auto t1 = t0 + numSamples / samplesPerQuarter * ticksPerQuarter;
    const auto numEvents = track->getNumEvents();

    // Both ends of the window are inclusive: an event exactly on a block boundary reaches both
    // blocks, the first at sample numSamples.
    const auto addEvents = [&] (int firstIndex, double lastTick, double loopOffset)
    {
        for (int i = firstIndex; i < numEvents; ++i)
        {
            const auto& message = track->getEventPointer (i)->message;
            const auto tick = message.getTimeStamp();

            if (tick > lastTick)
                break;

            out.addEvent (message, (int) (std::floor (tick - t0 + loopOffset) * samplesPerQuarter / ticksPerQuarter));
        }
    };

    addEvents (track->getNextIndexAtTime (t0), t1, 0.0);

    // A block crossing the loop end continues with the start of the track.
    if (t1 > end)
        addEvents (0, t1 - end, end);
}

bool AlxMidiSequencer::loadFile (juce::InputStream& stream)
{
    auto file = read (stream);

    if (file == nullptr)
        return false;

    files.push_back (std::move (file));
    return true;
}

bool AlxMidiSequencer::loadZip (juce::InputStream& stream)
{
    juce::ZipFile zip (stream);
    const auto numEntries = zip.getNumEntries();

    // The whole archive or nothing: a half-loaded one would leave choices pointing at missing
    // sequences.
    std::vector<std::unique_ptr<juce::MidiFile>> loaded;

    for (int i = 0; i < numEntries; ++i)
    {
        const std::unique_ptr<juce::InputStream> entry (zip.createStreamForEntry (i));

        if (entry == nullptr)
            return false;

        const auto bytes = bytesOf (*entry);
        juce::MemoryInputStream in (bytes, false);
        auto file = read (in);

        if (file == nullptr)
            return false;

        loaded.push_back (std::move (file));
    }

    if (loaded.empty())
        return false;

    for (auto& file : loaded)
        files.push_back (std::move (file));

    return true;
}

const std::vector<std::unique_ptr<juce::MidiFile>>& AlxMidiSequencer::getFiles() const
{
    return files;
}

std::unique_ptr<juce::MidiFile> AlxMidiSequencer::read (juce::InputStream& stream)
{
    auto file = std::make_unique<juce::MidiFile>();

    if (! file->readFrom (stream))
        return nullptr;

    return file;
}
