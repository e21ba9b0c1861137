#include "core/AlxPlimsarFilter.h"
#include "framework/AlxPresetFile.h"
#include "framework/AlxStateChunk.h"
#include <juce_audio_formats/juce_audio_formats.h>
#include "standalone/AlxStandaloneSettings.h"

#include "support/AlxZipArchive.h"

#include "AlxEmbeddedData.h"

#include <cstdio>

// Writes the seed corpus of the fuzz targets into a folder: for each target the files this system
// writes or carries today and small variants of them. Run it and copy what it wrote into
// fuzz/corpus/ when a layout changes; keep the seeds small. Archives are written with their entries
// stored, not deflated, so that the fuzzer's mutations reach what the entries hold.
namespace
{
    juce::String legacyProgram (const char* tag, const juce::String& name)
    {
        juce::String text = juce::String ("<") + tag + " name=\"" + name + "\">";
        const int groupEnds[] = { 17, 25, 33 };
        int index = 0;

        for (int end : groupEnds)
        {
            text << "<g>";

            for (; index < end; ++index)
                text << "<v i=\"" << index << "\" v=\"" << (index * 3) % 100 << "\"/>";

            text << "</g>";
        }

        return text + "</" + tag + ">";
    }

    // Removes every program but the first two from a document: a whole bank is a hundred
    // kilobytes, more than the fuzzer mutates well, and a bank document may name fewer programs.
    void keepTwoPrograms (juce::XmlElement& element)
    {
        for (auto* child = element.getFirstChildElement(); child != nullptr;)
        {
            auto* next = child->getNextElement();

            if (child->hasTagName ("pgm") && child->getIntAttribute ("i") >= 2)
                element.removeChildElement (child, true);
            else
                keepTwoPrograms (*child);

            child = next;
        }
    }

    juce::MemoryBlock twoProgramBank (const juce::MemoryBlock& bank)
    {
        auto document = AlxStateChunk::parse (bank.getData(), bank.getSize());
        keepTwoPrograms (*document);
        juce::MemoryBlock chunk;
        AlxStateChunk::write (*document, chunk);
        return chunk;
    }

    juce::MemoryBlock bytesOf (const juce::String& text)
    {
        return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
    }

    juce::MemoryBlock chunkOf (const juce::String& text)
    {
        return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
    }

    void write (const juce::File& folder, const juce::String& name, const juce::MemoryBlock& content)
    {
        const auto file = folder.getChildFile (name);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (content.getData(), content.getSize());
        std::printf ("%s: %d bytes\n", file.getFullPathName().toRawUTF8(), (int) content.getSize());
    }

    // The entries of an embedded archive, stored instead of deflated.
    std::vector<AlxZipArchive::Entry> entriesOf (const char* data, int size)
    {
        juce::MemoryInputStream stream (data, (size_t) size, false);
        juce::ZipFile archive (stream);
        std::vector<AlxZipArchive::Entry> entries;

        for (int i = 0; i < archive.getNumEntries(); ++i)
        {
            std::unique_ptr<juce::InputStream> entry (archive.createStreamForEntry (i));
            juce::MemoryBlock content;
            entry->readIntoMemoryBlock (content);
            entries.emplace_back (archive.getEntry (i)->filename, content);
        }

        return entries;
    }

    juce::MemoryBlock midiFile (const juce::MidiFile& file)
    {
        juce::MemoryOutputStream out;
        file.writeTo (out, 1);
        return out.getMemoryBlock();
    }

    // Two tracks at 480 ticks per quarter note: a chord with a pitch bend and a sysex, and a bass
    // line on another channel with a controller, a tempo and a text event.
    juce::MidiFile twoTrackFile()
    {
        juce::MidiFile file;
        file.setTicksPerQuarterNote (480);
        juce::MidiMessageSequence chords, bass;
        const juce::uint8 sysex[] = { 0x7e, 0x7f, 0x09, 0x01 };

        for (int note : { 60, 64, 67 })
        {
            chords.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
            chords.addEvent (juce::MidiMessage::noteOff (1, note), 960);
        }

        chords.addEvent (juce::MidiMessage::pitchWheel (1, 9000), 480);
        chords.addEvent (juce::MidiMessage::createSysExMessage (sysex, (int) sizeof (sysex)), 0);
        bass.addEvent (juce::MidiMessage::tempoMetaEvent (500000), 0);
        bass.addEvent (juce::MidiMessage::textMetaEvent (1, "bass"), 0);
        bass.addEvent (juce::MidiMessage::controllerEvent (2, 7, 90), 0);
        bass.addEvent (juce::MidiMessage::noteOn (2, 36, (juce::uint8) 90), 240);
        bass.addEvent (juce::MidiMessage::noteOff (2, 36), 1920);
        chords.updateMatchedPairs();
        bass.updateMatchedPairs();
        file.addTrack (chords);
        file.addTrack (bass);
        return file;
    }

    // A WAV file of a short ramp on every channel.
    juce::MemoryBlock wav (int channels, double rate, int bits)
    {
        constexpr int length = 48;
        juce::AudioBuffer<float> buffer (channels, length);

        for (int c = 0; c < channels; ++c)
            for (int s = 0; s < length; ++s)
                buffer.setSample (c, s, (float) (s - length / 2) / length);

        juce::MemoryBlock file;
        juce::WavAudioFormat format;
        {
            std::unique_ptr<juce::AudioFormatWriter> writer (
                format.createWriterFor (new juce::MemoryOutputStream (file, false), rate, (unsigned int) channels, bits, {}, 0));
            writer->writeFromAudioSampleBuffer (buffer, 0, length);
        }
        return file;
    }

    // The settings file as the standalone application writes it at exit, in the given format, with
    // the processor state given.
    juce::MemoryBlock settingsFile (const juce::MemoryBlock& state, juce::PropertiesFile::StorageFormat format)
    {
        auto options = AlxStandaloneSettings::getOptions();
        options.storageFormat = format;
        const auto file = juce::File::createTempFile ("settings");

        {
            juce::PropertiesFile settings (file, options);
            AlxStandaloneSettings::storeWindowPosition (settings, { 120, 80 });
            // What the device manager stores for the JACK output this machine can run.
            juce::XmlElement setup ("DEVICESETUP");
            setup.setAttribute ("deviceType", "JACK");
            setup.setAttribute ("audioOutputDeviceName", "system");
            setup.setAttribute ("audioInputDeviceName", "");
            setup.setAttribute ("audioDeviceRate", 48000.0);
            setup.setAttribute ("audioDeviceBufferSize", 256);
            setup.setAttribute ("audioDeviceOutChans", "11");
            setup.createNewChildElement ("MIDIINPUT")->setAttribute ("name", "keyboard");
            settings.setValue (AlxStandaloneSettings::audioSetupKey, &setup);
            settings.setValue (AlxStandaloneSettings::filterStateKey, juce::Base64::toBase64 (state.getData(), state.getSize()));
            settings.saveIfNeeded();
        }

        juce::MemoryBlock content;
        file.loadFileAsData (content);
        file.deleteFile();
        return content;
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    constexpr int pluginId = ('Q' << 24) | ('Z' << 16) | ('0' << 8) | '4';

    AlxPlimsarFilter processor;
    processor.initialise();
    processor.changeProgramName (1, juce::String (juce::CharPointer_UTF8 ("seed & <name> \xc3\xa9")));
    auto& root = *processor.getRootModule();

    juce::MemoryBlock wholeBank, program;
    root.saveBankChunk (wholeBank);
    root.saveProgramChunk (1, program);
    const auto bank = twoProgramBank (wholeBank);

    // 1.0 documents: a program, and a bank of two programs with all nine global values.
    const auto legacyHead = juce::String ("<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.4\">");
    const auto legacyProgramBody = legacyProgram ("fxp", "old");
    juce::String legacyBankBody = "<a/><b/><g>";

    for (int index = -9; index < 0; ++index)
        legacyBankBody << "<v i=\"" << index << "\" v=\"" << -index << "\"/>";

    legacyBankBody << "</g><fxb>" << legacyProgram ("p", "one") << legacyProgram ("p", "two") << "</fxb>";
    const auto legacyProgramText = legacyHead + legacyProgramBody + "</plugin>";
    const auto legacyBankText = legacyHead + legacyBankBody + "</plugin>";

    auto bankFile = [&] (const juce::MemoryBlock& chunk) { return AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, chunk); };
    auto programFile = [&] (const juce::MemoryBlock& chunk) { return AlxPresetFile::build (AlxPresetFile::Kind::program, pluginId, "seed", chunk); };

    write (folder, "bank_chunk/current", bank);
    write (folder, "bank_chunk/legacy", chunkOf (legacyBankText));
    write (folder, "bank_file/current.fxb", bankFile (bank));
    write (folder, "bank_file/legacy.fxb", bankFile (chunkOf (legacyBankText)));
    write (folder, "program_file/current.fxp", programFile (program));
    write (folder, "program_file/legacy.fxp", programFile (chunkOf (legacyProgramText)));

    // The legacy target wraps its input in the 1.0 root element itself.
    write (folder, "legacy_document/bank", bytesOf (legacyBankBody));
    write (folder, "legacy_document/program", bytesOf (legacyProgramBody));

    // MIDI files: the demo sequences as files, one file of two tracks, and the demo archive.
    const auto demos = entriesOf (AlxEmbeddedData::demoMidiZip, AlxEmbeddedData::demoMidiZipSize);

    for (auto& [name, content] : demos)
    {
        write (folder, "render_midi/" + name, content);
        write (folder, "sequencer_midi/" + name, content);
    }

    write (folder, "render_midi/two-tracks.mid", midiFile (twoTrackFile()));
    write (folder, "sequencer_midi/demo.zip", AlxZipArchive::build (demos, 0));
    write (folder, "sequencer_midi/two-tracks.zip", AlxZipArchive::build ({ { "two-tracks.mid", midiFile (twoTrackFile()) } }, 0));

    // Sound banks: the embedded wavetable bank, wavetables of every base function, and a sampler
    // bank of a mono 16-bit and a stereo 24-bit recording.
    write (folder, "sound_bank/embedded.zip", AlxZipArchive::build (entriesOf (AlxEmbeddedData::soundBankZip, AlxEmbeddedData::soundBankZipSize), 0));
    write (folder, "sound_bank/wavetables.zip", AlxZipArchive::build ({ { "_metadata.xml", bytesOf (
        "<soundBank type=\"wavetable\"><wavetables>"
        "<wavetable rootMidiNote=\"40\" numberOfHarmonics=\"3\" bandwidth=\"30\" bandwidthScale=\"0.5\" baseFunction=\"Square\">"
        "<harmonics><harmonic number=\"1\" amplitude=\"0.5\"/><harmonic number=\"2\" amplitude=\"0.25\"/></harmonics></wavetable>"
        "<wavetable rootMidiNote=\"100\" numberOfHarmonics=\"2\" relativeFrequencyFactor=\"0.01\" baseFunction=\"triangle\">"
        "<harmonics><harmonic number=\"1\" amplitude=\"1\"/></harmonics></wavetable>"
        "<wavetable rootMidiNote=\"7\" numberOfHarmonics=\"2\" baseFunction=\"sawtooth\"><harmonics><harmonic number=\"1\" amplitude=\"1\"/></harmonics></wavetable>"
        "</wavetables></soundBank>") } }, 0));
    write (folder, "sound_bank/sampler.zip", AlxZipArchive::build ({
        { "_metadata.xml", bytesOf ("<soundBank type=\"sampler\" name=\"kit\" attackTime=\"0.001\" releaseTime=\"0.05\" maxDuration=\"2\"><sounds>"
                                    "<sound name=\"low\" rootMidiNote=\"48\" firstMidiNote=\"0\" lastMidiNote=\"59\"/>"
                                    "<sound name=\"high\" rootMidiNote=\"72\" firstMidiNote=\"60\" lastMidiNote=\"127\"/>"
                                    "</sounds></soundBank>") },
        { "low.wav", wav (1, 44100.0, 16) },
        { "high.wav", wav (2, 48000.0, 24) } }, 0));

    // The settings file as the application writes it, and the same in the compressed binary format.
    write (folder, "settings/plimsar.settings", settingsFile (bank, juce::PropertiesFile::storeAsXML));
    write (folder, "settings/compressed.settings", settingsFile (bank, juce::PropertiesFile::storeAsCompressedBinary));
    return 0;
}
