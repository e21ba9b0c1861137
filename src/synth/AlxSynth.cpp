#include "synth/AlxSynth.h"

#include "synth/AlxZipEndRecord.h"

#include "framework/AlxNumberText.h"
#include "framework/AlxXmlGuard.h"

#include "AlxEmbeddedData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
    // The library's tag lookups ignore case; these element names must match exactly.
    std::vector<const juce::XmlElement*> childrenTagged (const juce::XmlElement& parent, const juce::String& tag)
    {
        std::vector<const juce::XmlElement*> tagged;

        for (auto* child : parent.getChildIterator())
            if (child->getTagName() == tag)
                tagged.push_back (child);

        return tagged;
    }

    const juce::XmlElement* firstChildIgnoringCase (const juce::XmlElement& parent, juce::StringRef tag)
    {
        for (auto* child : parent.getChildIterator())
            if (child->getTagName().equalsIgnoreCase (tag))
                return child;

        return nullptr;
    }

    // Reads and drops the next bytes of a stream; false when it delivers fewer.
    bool holdsNext (juce::InputStream& stream, juce::int64 bytes)
    {
        char buffer[4096];

        for (; bytes > 0; bytes -= (juce::int64) sizeof (buffer))
        {
            const auto wanted = (int) std::min (bytes, (juce::int64) sizeof (buffer));

            if (stream.read (buffer, wanted) != wanted)
                return false;
        }

        return true;
    }

    // Whether JUCE's WAV reader may be given this WAV file. The reader trusts the sizes a file
    // states: it numbers every channel beyond the known speakers as a discrete channel, and numbers
    // past its last one are undefined; and it allocates and walks each chunk it understands (loop
    // points, cue points, labels) over the length the chunk claims, so a few hundred bytes claiming
    // a chunk of megabytes cost seconds and gigabytes. So the format chunk must name at most
    // maxChannels channels, and every chunk but the recording itself must lie within the bytes the
    // stream delivers; a recording claiming more than there is gets cut to what is there later.
    bool readerMayRead (juce::InputStream& stream, int maxChannels)
    {
        char header[12];

        if (stream.read (header, 12) != 12 || (std::memcmp (header, "RIFF", 4) != 0 && std::memcmp (header, "RF64", 4) != 0)
            || std::memcmp (header + 8, "WAVE", 4) != 0)
            return false;

        // The reader reads no chunk past the RIFF size (an RF64 file states its size elsewhere).
        const auto end = std::memcmp (header, "RIFF", 4) == 0 ? 8 + (juce::int64) juce::ByteOrder::littleEndianInt (header + 4)
                                                               : std::numeric_limits<juce::int64>::max();
        int channels = -1;

        // Every chunk header must be there in full: a stream from an archive whose sizes lie may
        // stop delivering bytes without saying it is exhausted.
        for (char chunk[8]; stream.getPosition() < end && stream.read (chunk, 8) == 8;)
        {
            const auto size = (juce::int64) juce::ByteOrder::littleEndianInt (chunk + 4);
            const auto next = stream.getPosition() + size + (size & 1);

            if (std::memcmp (chunk, "data", 4) != 0)
            {
                auto unread = size;

                // The reader takes the count of the last format chunk; every one is checked.
                if (std::memcmp (chunk, "fmt ", 4) == 0)
                {
                    char format[4];

                    if (size < 4 || stream.read (format, 4) != 4)
                        return false;

                    channels = std::max (channels, (int) juce::ByteOrder::littleEndianShort (format + 2));
                    unread -= 4;
                }

                // The last chunk of a file may lack its pad byte.
                if (! holdsNext (stream, unread))
                    return false;
            }

            if (! stream.setPosition (next))
                break;
        }

        return channels >= 0 && channels <= maxChannels;
    }

    bool playable (const juce::AudioBuffer<float>& samples)
    {
        for (int channel = 0; channel < samples.getNumChannels(); ++channel)
        {
            const auto* sample = samples.getReadPointer (channel);

            // Not a number fails the comparison too.
            for (int i = 0; i < samples.getNumSamples(); ++i)
                if (! (std::abs (sample[i]) <= AlxSynth::maxSampleMagnitude))
                    return false;
        }

        return true;
    }

    // Entry 0 of the archive as XML, or null when it is missing, too long, not XML or text the XML
    // reader cannot be trusted with (AlxXmlGuard).
    std::unique_ptr<juce::XmlElement> readDescription (juce::ZipFile& archive)
    {
        const auto* entry = archive.getEntry (0);

        if (entry == nullptr || entry->uncompressedSize > AlxSynth::maxDescriptionBytes)
            return nullptr;

        std::unique_ptr<juce::InputStream> stream (archive.createStreamForEntry (0));

        if (stream == nullptr)
            return nullptr;

        juce::MemoryBlock text;
        stream->readIntoMemoryBlock (text, AlxSynth::maxDescriptionBytes + 1);

        if (text.getSize() > (size_t) AlxSynth::maxDescriptionBytes)
            return nullptr;

        const auto description = text.toString();

        if (! AlxXmlGuard::canParse (description))
            return nullptr;

        return juce::parseXML (description);
    }
}

AlxSynth::AlxSynth()
{
    // The embedded bank's sounds are built once and shared: they are never changed after
    // construction, and building them takes tens of milliseconds and 20 MB per copy. The synth is
    // made where a processor is made, never on the audio thread, so a second core may help.
    static const Sounds embedded = []
    {
        juce::MemoryInputStream bank (AlxEmbeddedData::soundBankZip, (size_t) AlxEmbeddedData::soundBankZipSize, false);
        Sounds built;
        readSounds (bank, AlxWavetable::tableSize, std::min (2, juce::SystemStats::getNumCpus()), built);
        return built;
    }();

    addSounds (embedded);
    addVoices();
}

AlxSynth::AlxSynth (juce::InputStream& soundBank, int tableLength, int threads)
{
    Sounds loaded;

    if (readSounds (soundBank, tableLength, threads, loaded))
        addSounds (loaded);

    addVoices();
}

void AlxSynth::addSounds (const Sounds& soundsToPlay)
{
    for (auto& sound : soundsToPlay)
        addSound (sound);
}

AlxSynth::~AlxSynth() = default;

void AlxSynth::addVoices()
{
    for (int i = 0; i < numVoices; ++i)
        addVoice (new AlxSamplerVoice());
}

bool AlxSynth::readSounds (juce::InputStream& archiveStream, int tableLength, int threads, Sounds& loaded)
{
    const auto archiveLength = AlxZipEndRecord::archiveLength (archiveStream);

    if (! archiveLength.has_value())
        return false;

    juce::SubregionStream archiveOnly (&archiveStream, 0, *archiveLength, false);
    juce::ZipFile archive (archiveOnly);
    const auto bank = readDescription (archive);

    if (bank == nullptr || ! bank->getTagName().equalsIgnoreCase ("soundBank"))
        return false;

    // All sounds are made first and kept only when the whole bank was read.
    const auto type = bank->getStringAttribute ("type", "sampler");
    const bool read = (type == "sampler" && readSamplerBank (*bank, archive, loaded))
                      || (type == "wavetable" && readWavetableBank (*bank, tableLength, threads, loaded));

    if (! read)
        loaded.clear();

    return read;
}

bool AlxSynth::readSamplerBank (const juce::XmlElement& bank, juce::ZipFile& archive, Sounds& out)
{
    const double attackTime = AlxNumberText::attribute (bank, "attackTime", 0.01);
    const double releaseTime = AlxNumberText::attribute (bank, "releaseTime", 0.1);
    const double maxDuration = AlxNumberText::attribute (bank, "maxDuration", 10.0);
    const auto* list = firstChildIgnoringCase (bank, "sounds");

    if (list == nullptr)
        return true;

    juce::WavAudioFormat wavFormat;
    int entry = 0;
    juce::int64 samplesKept = 0;

    for (auto* sound : childrenTagged (*list, "sound"))
    {
        if (++entry > maxSamplerSounds || entry >= archive.getNumEntries())
            return false;

        const int root = sound->getIntAttribute ("rootMidiNote", 0);
        const int first = sound->getIntAttribute ("firstMidiNote", root);
        const int last = sound->getIntAttribute ("lastMidiNote", root);
        AlxSamplerSound::NoteSet notes;

        for (int n = std::max (first, 0); n <= std::min (last, 127); ++n)
            notes.set ((size_t) n);

        {
            const std::unique_ptr<juce::InputStream> header (archive.createStreamForEntry (entry));

            if (header == nullptr || ! readerMayRead (*header, maxRecordingChannels))
                return false;
        }

        auto* stream = archive.createStreamForEntry (entry);

        if (stream == nullptr)
            return false;

        // Both the archive and the WAV header state sizes; the smaller one bounds what the entry
        // holds.
        const auto entryBytes = std::min (stream->getTotalLength(), archive.getEntry (entry)->uncompressedSize);
        std::unique_ptr<juce::AudioFormatReader> reader (wavFormat.createReaderFor (stream, true));

        if (reader == nullptr)
            return false;

        // A header may claim a longer recording than its entry holds (an unfinished file, or a
        // forged one): only what the entry can hold is read, instead of reading silence up to the
        // claimed length. The bound counts the header's bytes too, so a few samples of silence
        // may follow the recording.
        const int bytesPerFrame = std::max (1, (int) (reader->numChannels * (unsigned int) reader->bitsPerSample / 8));
        const auto framesHeld = std::max (juce::int64 (0), entryBytes) / bytesPerFrame;
        std::unique_ptr<juce::AudioFormatReader> held;
        auto* source = reader.get();

        if (reader->lengthInSamples > framesHeld)
        {
            held = std::make_unique<juce::AudioSubsectionReader> (reader.get(), 0, framesHeld, false);
            source = held.get();
        }

        // Checked before this sound is read: a bank whose recordings together exceed the bound is
        // refused without reading what lies beyond it.
        samplesKept += AlxSamplerSound::keptLength (*source, maxDuration);

        if (samplesKept > maxSamplerBankSamples)
            return false;

        AlxSamplerSound::Ptr made (new AlxSamplerSound (sound->getStringAttribute ("name", "untitled"), *source, notes, root,
                                                        attackTime, releaseTime, maxDuration, false));

        // A recording of no samples makes a sound without data.
        if (const auto* samples = made->getAudioData(); samples != nullptr && ! playable (*samples))
            return false;

        out.push_back (made);
    }

    return true;
}

bool AlxSynth::readWavetableBank (const juce::XmlElement& bank, int tableLength, int threads, Sounds& out)
{
    const auto* list = firstChildIgnoringCase (bank, "wavetables");

    if (list == nullptr)
        return true;

    // Every description is checked before the first (costly) table is generated.
    std::vector<std::unique_ptr<AlxWavetable>> wavetables;

    for (auto* table : childrenTagged (*list, "wavetable"))
    {
        const int count = table->getIntAttribute ("numberOfHarmonics", 0);
        const int root = table->getIntAttribute ("rootMidiNote", 0);
        const double bandwidth = AlxNumberText::attribute (*table, "bandwidth", 50.0);
        const double bandwidthScale = AlxNumberText::attribute (*table, "bandwidthScale", 1.0);
        const double relativeFrequency = AlxNumberText::attribute (*table, "relativeFrequencyFactor", 0.0);

        if ((int) wavetables.size() == maxWavetables || count < 0 || count > maxHarmonics || root < 0 || root > 127
            || ! std::isfinite (bandwidth) || ! std::isfinite (bandwidthScale) || ! std::isfinite (relativeFrequency))
            return false;

        std::vector<float> amplitudes ((size_t) count, 0.0f);

        if (count > 0)
        {
            if (const auto* harmonics = firstChildIgnoringCase (*table, "harmonics"))
            {
                for (auto* harmonic : childrenTagged (*harmonics, "harmonic"))
                {
                    const int number = harmonic->getIntAttribute ("number", 0);
                    const auto amplitude = (float) AlxNumberText::attribute (*harmonic, "amplitude", 0.0);

                    if (! std::isfinite (amplitude))
                        return false;

                    if (number >= 0 && number < count)
                        amplitudes[(size_t) number] = amplitude;
                }
            }
        }

        wavetables.push_back (std::make_unique<AlxWavetable> (root, std::move (amplitudes), bandwidth, bandwidthScale,
                                                              relativeFrequency,
                                                              AlxWavetable::baseFunctionFromText (table->getStringAttribute ("baseFunction", "sine")),
                                                              tableLength));
    }

    for (auto& wavetable : wavetables)
    {
        std::vector<AlxSamplerSound::Ptr> generated;
        wavetable->generateSounds (generated, threads);
        out.insert (out.end(), generated.begin(), generated.end());
    }

    return true;
}
