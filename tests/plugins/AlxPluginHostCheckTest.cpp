#include "core/AlxPlimsarFilter.h"
#include "host-check/AlxPluginHost.h"
#include "plugins/AlxGestureEar.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

#include <map>

// The built VST3 and LV2 plug-ins, loaded through JUCE's hosting classes as a host loads them:
// what the host sees of them, their state, and the notes they play behind a host's play head,
// compared with what plimsar-render plays for the same chord.

namespace
{
    using Format = AlxPluginHost::Format;

    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr double tempo = 120.0;
    constexpr juce::int64 samplesPerQuarter = 24000;   // at 120 bpm and 48 kHz
    constexpr int chordVelocity = 100;
    const int chord[] = { 60, 64, 67 };

    struct Note
    {
        juce::int64 sample;
        int channel;
        int note;
        int velocity;   // 0 for a note-off

        bool operator== (const Note& other) const
        {
            return sample == other.sample && channel == other.channel && note == other.note && velocity == other.velocity;
        }
    };

    std::ostream& operator<< (std::ostream& out, const Note& n)
    {
        return out << n.sample << (n.velocity > 0 ? " on " : " off ") << n.channel << "/" << n.note << "/" << n.velocity;
    }

    std::optional<Note> noteOf (juce::int64 sample, const juce::MidiMessage& m)
    {
        if (m.isNoteOn())
            return Note { sample, m.getChannel(), m.getNoteNumber(), m.getVelocity() };

        if (m.isNoteOff())
            return Note { sample, m.getChannel(), m.getNoteNumber(), 0 };

        return std::nullopt;
    }

    std::vector<Note> notesOf (const std::vector<AlxPluginSession::Event>& events)
    {
        std::vector<Note> notes;

        for (const auto& e : events)
            if (auto n = noteOf (e.sample, e.message))
                notes.push_back (*n);

        return notes;
    }

    // Events other than notes: only the All Notes Off of a reset may come out.
    bool onlyNotesAndAllNotesOff (const std::vector<AlxPluginSession::Event>& events)
    {
        return std::all_of (events.begin(), events.end(), [] (const auto& e)
        {
            return e.message.isNoteOnOrOff() || e.message.isAllNotesOff();
        });
    }

    // Every note that started ends: each note-on is followed by its note-off (or an All Notes
    // Off on its channel) before the events end.
    ::testing::AssertionResult everyNoteEnds (const std::vector<AlxPluginSession::Event>& events)
    {
        std::map<std::pair<int, int>, int> sounding;

        for (const auto& e : events)
        {
            const auto key = std::pair (e.message.getChannel(), e.message.getNoteNumber());

            if (e.message.isNoteOn())
                ++sounding[key];
            else if (e.message.isNoteOff() && sounding[key] > 0)
                --sounding[key];
            else if (e.message.isAllNotesOff())
                for (auto& [k, count] : sounding)
                    if (k.first == e.message.getChannel())
                        count = 0;
        }

        for (const auto& [key, count] : sounding)
            if (count != 0)
                return ::testing::AssertionFailure() << "note " << key.second << " on channel " << key.first << " never ends";

        return ::testing::AssertionSuccess();
    }

    // What plimsar-render plays (in the order it delivers) when the chord is held from song
    // position 0 for heldQuarters at this tempo; the render lasts the given seconds.
    std::vector<Note> render (double bpm, int heldQuarters, double seconds)
    {
        juce::TemporaryFile input (".mid"), output (".txt");
        juce::MidiMessageSequence track;

        for (int n : chord)
        {
            track.addEvent (juce::MidiMessage::noteOn (1, n, (juce::uint8) chordVelocity), 0.0);
            track.addEvent (juce::MidiMessage::noteOff (1, n), 960.0 * heldQuarters);
        }

        juce::MidiFile file;
        file.setTicksPerQuarterNote (960);
        file.addTrack (track);
        {
            juce::FileOutputStream out (input.getFile());
            file.writeTo (out);
        }

        juce::ChildProcess renderer;
        const juce::StringArray arguments { PLIMSAR_RENDER, "--input", input.getFile().getFullPathName(),
                                            "--tempo", juce::String (bpm), "--sample-rate", juce::String ((int) sampleRate),
                                            "--block-size", juce::String (blockSize), "--seconds", juce::String (seconds),
                                            "--events-out", output.getFile().getFullPathName(), "--quiet" };
        EXPECT_TRUE (renderer.start (arguments));
        const auto log = renderer.readAllProcessOutput();
        EXPECT_EQ (renderer.getExitCode(), 0u) << log;

        std::vector<Note> notes;

        for (const auto& line : juce::StringArray::fromLines (output.getFile().loadFileAsString()))
        {
            if (line.isEmpty())
                continue;

            juce::MemoryBlock bytes;
            bytes.loadFromHexString (line.fromFirstOccurrenceOf (",", false, false));
            const juce::MidiMessage message (bytes.getData(), (int) bytes.getSize());

            if (auto n = noteOf (line.upToFirstOccurrenceOf (",", false, false).getLargeIntValue(), message))
                notes.push_back (*n);
        }

        return notes;
    }

    std::vector<Note> between (const std::vector<Note>& notes, juce::int64 from, juce::int64 to, juce::int64 shift)
    {
        std::vector<Note> result;

        for (auto n : notes)
        {
            if (n.sample >= from && n.sample < to)
            {
                n.sample += shift;
                result.push_back (n);
            }
        }

        return result;
    }

    // The host's song: where its play head stands at a sample, and how far a block starting
    // there may go before the song jumps or changes tempo.
    struct Song
    {
        std::function<void (juce::int64 sample, AlxHostPlayHead&)> position;
        std::function<juce::int64 (juce::int64 sample)> room;
    };

    Song straight (double bpm = tempo)
    {
        return { [bpm] (juce::int64 s, AlxHostPlayHead& head) { head.set (s, sampleRate, (double) s * bpm / 60.0 / sampleRate, bpm, true); },
                 [] (juce::int64) { return std::numeric_limits<juce::int64>::max(); } };
    }

    // A host that gives its time, tempo and signature but no song position in quarter notes.
    Song timeOnly()
    {
        return { [] (juce::int64 s, AlxHostPlayHead& head)
                 {
                     head.set (s, sampleRate, 0.0, tempo, true);
                     head.info.setPpqPosition ({});
                     head.info.setPpqPositionOfLastBarStart ({});
                 },
                 straight().room };
    }

    // Loops the first `quarters` quarter notes at 120 bpm.
    Song looping (int quarters)
    {
        const juce::int64 length = quarters * samplesPerQuarter;
        return { [length] (juce::int64 s, AlxHostPlayHead& head)
                 {
                     head.set (s, sampleRate, (double) (s % length) / (double) samplesPerQuarter, tempo, true);
                 },
                 [length] (juce::int64 s) { return length - s % length; } };
    }

    // 120 bpm for the first `quarters` quarter notes, then the other tempo.
    Song tempoChange (int quarters, double laterBpm)
    {
        const juce::int64 change = quarters * samplesPerQuarter;
        const double laterSamplesPerQuarter = sampleRate * 60.0 / laterBpm;
        return { [=] (juce::int64 s, AlxHostPlayHead& head)
                 {
                     if (s < change)
                         head.set (s, sampleRate, (double) s / (double) samplesPerQuarter, tempo, true);
                     else
                         head.set (s, sampleRate, quarters + (double) (s - change) / laterSamplesPerQuarter, laterBpm, true);
                 },
                 [change] (juce::int64 s) { return s < change ? change - s : std::numeric_limits<juce::int64>::max(); } };
    }

    // The chord held from the first sample until releaseAt.
    juce::MidiBuffer chordInput (juce::int64 blockStart, int numSamples, juce::int64 releaseAt)
    {
        juce::MidiBuffer in;

        for (int n : chord)
        {
            if (blockStart == 0)
                in.addEvent (juce::MidiMessage::noteOn (1, n, (juce::uint8) chordVelocity), 0);

            if (releaseAt >= blockStart && releaseAt < blockStart + numSamples)
                in.addEvent (juce::MidiMessage::noteOff (1, n), (int) (releaseAt - blockStart));
        }

        return in;
    }

    // Plays the song until `total` in blocks of up to `length` samples, split where the song
    // jumps; beforeBlock runs before each block with its first sample.
    void play (AlxPluginSession& session, const Song& song, juce::int64 total, int length, juce::int64 releaseAt,
               const std::function<void (juce::int64)>& beforeBlock = {})
    {
        while (session.getSamplesPlayed() < total)
        {
            const auto start = session.getSamplesPlayed();
            const int n = (int) std::min ({ (juce::int64) length, total - start, song.room (start) });

            if (beforeBlock)
                beforeBlock (start);

            song.position (start, session.getPlayHead());
            session.process (n, chordInput (start, n, releaseAt));
        }
    }

    // An in-process processor: what the plug-in is built from, for the names, texts and values
    // the host should see.
    struct Reference
    {
        Reference() { processor.initialise(); }

        int indexOf (const juce::String& name)
        {
            const auto& parameters = processor.getParameters();

            for (int i = 0; i < parameters.size(); ++i)
                if (parameters[i]->getName (100) == name)
                    return i;

            return -1;
        }

        // The host value that selects the value with this text.
        float valueOf (int index, const juce::String& text)
        {
            auto* p = processor.getParameters()[index];
            return p->getValueForText (text);
        }

        AlxPlimsarFilter processor;
    };

    class AlxPluginHostCheck : public ::testing::TestWithParam<Format>
    {
    public:
        // The plug-ins' message threads open an X display. With none named JUCE tries :0, which
        // may be a server of another job that goes away, and Xlib then ends the process; a
        // display that does not exist keeps them headless.
        static void SetUpTestSuite() { setenv ("DISPLAY", "unix:65535", 1); }

    protected:
        AlxPluginHostCheck()
            : host (GetParam(), juce::File (GetParam() == Format::vst3 ? PLIMSAR_VST3_BUNDLE : PLIMSAR_LV2_BUNDLE), PLIMSAR_LV2_URI),
              plugin (host.createInstance (sampleRate, blockSize))
        {
        }

        // What the host shows of our parameter with this host index. VST3 hosts list the
        // parameters in order; LV2 hosts in an order of their own, so there it is found by its
        // ID, which ends in the parameter's own ID.
        juce::AudioProcessorParameter* hosted (juce::AudioPluginInstance& instance, int index) const
        {
            const auto& parameters = instance.getParameters();

            if (GetParam() == Format::vst3)
                return index < parameters.size() ? parameters[index] : nullptr;

            const auto id = "p" + juce::String (index);

            for (auto* p : parameters)
                if (auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*> (p))
                    if (withId->getParameterID() == id || withId->getParameterID().endsWith (":" + id))
                        return p;

            return nullptr;
        }

        // The plug-in's own message thread delivers what it posted; the host gives it time. The
        // limit only ends a wait that fails, so it is generous: a sanitized build on a busy
        // machine took over five seconds to reload a VST3 state.
        static bool waitFor (const std::function<bool()>& condition)
        {
            return AlxMessageLoop::deliverUntil (condition);
        }

        AlxPluginHost host;
        std::unique_ptr<juce::AudioPluginInstance> plugin;
        Reference reference;
    };
}

TEST_P (AlxPluginHostCheck, showsTheHostNameBusesParametersAndPrograms)
{
    const auto& description = host.getDescription();
    EXPECT_EQ (description.name, "plimsar");
    // LV2 hosts read the version from the Turtle files (the jalv test looks there).
    EXPECT_EQ (description.version, GetParam() == Format::vst3 ? "1.5.544" : "");
    EXPECT_TRUE (description.isInstrument);
    EXPECT_EQ (plugin->getName(), "plimsar");

    EXPECT_EQ (plugin->getTotalNumInputChannels(), 0);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);
    EXPECT_TRUE (plugin->acceptsMidi());
    EXPECT_TRUE (plugin->producesMidi());
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);

    const auto& expected = reference.processor.getParameters();
    const auto& seen = plugin->getParameters();
    ASSERT_EQ (expected.size(), 33);
    ASSERT_GE (seen.size(), expected.size());

    juce::StringArray ids;
    juce::Array<juce::AudioProcessorParameter*> ours;

    for (int i = 0; i < expected.size(); ++i)
    {
        auto* p = hosted (*plugin, i);
        ASSERT_NE (p, nullptr) << "parameter " << i;
        ours.add (p);
        ids.addIfNotAlreadyThere (dynamic_cast<juce::HostedAudioProcessorParameter&> (*p).getParameterID());
        EXPECT_EQ (p->getName (100), expected[i]->getName (100)) << "parameter " << i;
        // LV2 hosts take the value texts from the Turtle files (the jalv test reads them there).
        if (GetParam() == Format::vst3)
        {
            EXPECT_EQ (p->getText (p->getValue(), 100), expected[i]->getCurrentValueAsText()) << "parameter " << i;
        }

        EXPECT_NEAR (p->getValue(), expected[i]->getValue(), 1.0e-6) << "parameter " << i;
    }

    // Besides ours, a format may add its own: the host's bypass switch or program choice.
    for (auto* p : seen)
    {
        if (! ours.contains (p))
        {
            EXPECT_TRUE (p->getName (100).containsIgnoreCase ("bypass") || p->getName (100).containsIgnoreCase ("program"))
                << "\"" << p->getName (100) << "\" is not the format's own";
        }
    }

    EXPECT_EQ (ids.size(), expected.size()) << "every parameter has an ID of its own";
    auto another = host.createInstance (sampleRate, blockSize);
    EXPECT_EQ (ids[0], dynamic_cast<juce::HostedAudioProcessorParameter&> (*hosted (*another, 0)).getParameterID())
        << "IDs are the same in every instance";

    ASSERT_EQ (plugin->getNumPrograms(), 128);
    juce::StringArray names, expectedNames;

    for (int i = 0; i < 128; ++i)
    {
        names.add (plugin->getProgramName (i));
        expectedNames.add (reference.processor.getProgramName (i));
    }

    // VST3 hosts list the programs in order; LV2 hosts list the presets in an order of their own.
    if (GetParam() == Format::lv2)
    {
        names.sort (false);
        expectedNames.sort (false);
    }

    EXPECT_EQ (names, expectedNames);
    EXPECT_TRUE (names.contains ("clean start"));
}

TEST_P (AlxPluginHostCheck, aSavedStateReloadsIdenticallyIntoASecondInstance)
{
    const int step = reference.indexOf ("Step");
    ASSERT_GE (step, 0);

    // A program whose step the host can tell from the first program's and from the edit below.
    const float sixteenths = reference.valueOf (step, "1/16");
    auto stepOf = [&] (int index)
    {
        reference.processor.setCurrentProgram (index);
        return reference.processor.getParameters()[step]->getValue();
    };
    const float firstStep = stepOf (0);
    int program = 1;

    while (program < reference.processor.getNumPrograms() - 1
           && (stepOf (program) == firstStep || stepOf (program) == sixteenths))
        ++program;

    const float programStep = stepOf (program);
    ASSERT_NE (programStep, firstStep);
    plugin->setCurrentProgram (program);

    {
        AlxPluginSession session (*plugin, sampleRate, blockSize);
        // A VST3 plug-in tells the host the chosen program's values from its own message thread.
        // The host keeps a value that arrives off its message thread to hand on to the plug-in's
        // controller at its next flush, 60 times a second, and an edit of the host's own made
        // before that flush is overwritten by the older value. As a musician does, the host edits
        // once the program's values have come and been handed on: saving the state flushes them.
        if (GetParam() == Format::vst3)
        {
            EXPECT_TRUE (waitFor ([&]
            {
                session.process (blockSize);
                return hosted (*plugin, step)->getValue() == programStep;
            }));
            juce::MemoryBlock flushed;
            plugin->getStateInformation (flushed);
        }

        hosted (*plugin, step)->setValue (sixteenths);
        // Some formats hand a host's parameter change to the plug-in with the next block.
        session.process (blockSize);
    }

    juce::MemoryBlock saved;
    plugin->getStateInformation (saved);
    ASSERT_TRUE (saved.toString().isNotEmpty());

    auto reopened = host.createInstance (sampleRate, blockSize);
    reopened->setStateInformation (saved.getData(), (int) saved.getSize());

    // The program that was current comes back when the reloaded document is announced, and
    // with it the parameters the host shows. An LV2 plug-in tells its host about parameters in
    // its blocks, so the host plays while it waits; an LV2 host keeps the program number itself.
    {
        AlxPluginSession session (*reopened, sampleRate, blockSize);

        if (GetParam() == Format::vst3)
        {
            EXPECT_TRUE (waitFor ([&] { return reopened->getCurrentProgram() == program; }));
        }

        EXPECT_TRUE (waitFor ([&]
        {
            session.process (blockSize);
            return std::abs (hosted (*reopened, step)->getValue() - sixteenths) < 1.0e-6f;
        }));
    }

    juce::MemoryBlock again;
    reopened->getStateInformation (again);
    EXPECT_EQ (again, saved) << "the reloaded state saves to the same chunk";

    for (int i = 0; i < reference.processor.getParameters().size(); ++i)
        EXPECT_NEAR (hosted (*reopened, i)->getValue(), hosted (*plugin, i)->getValue(), 1.0e-6) << "parameter " << i;
}

TEST_P (AlxPluginHostCheck, aProgramChosenByTheHostIsAnnouncedToItParameterByParameter)
{
    struct Listener : juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged (int, float) override { ++changes; }
        void parameterGestureChanged (int, bool) override {}
        std::atomic<int> changes { 0 };
    } listener;

    for (auto* p : plugin->getParameters())
        p->addListener (&listener);

    // Program 1 differs from program 0 in its settings; the plug-in tells the host which.
    plugin->setCurrentProgram (1);
    EXPECT_TRUE (waitFor ([&] { return listener.changes > 0; }));
    EXPECT_EQ (plugin->getCurrentProgram(), 1);

    for (auto* p : plugin->getParameters())
        p->removeListener (&listener);
}

// Every choice of every list parameter, set by the host at its own step i/(N-1) (where VST3 hosts
// step it and LV2 hosts put its scale points): the plug-in holds that choice, so a second instance
// that loads its state shows the same step, and a VST3 host shows the choice's text at that step.
// (JUCE's LV2 hosting reads neither steps nor texts of LV2 parameters; the jalv test checks the
// scale points in the Turtle files.) The choices of all parameters are set at once, round by
// round; a parameter with fewer choices keeps its last one.
TEST_P (AlxPluginHostCheck, everyChoiceComesBackAtTheHostsOwnStep)
{
    struct Row
    {
        int index;
        int lastStep;
        juce::StringArray texts;
    };

    auto& ours = reference.processor.getContainer()->getParameterMap();
    std::vector<Row> rows;
    int rounds = 0;

    for (int i = 0; i < reference.processor.getParameters().size(); ++i)
    {
        if (! reference.processor.getParameters()[i]->isDiscrete())
            continue;

        Row row { i, ours.lookup (i)->getDomain()->getNumValues() - 1, {} };

        for (const auto& value : ours.lookup (i)->getDomain()->getValues())
            row.texts.add (value->getText());

        if (GetParam() == Format::vst3)
        {
            EXPECT_TRUE (hosted (*plugin, i)->isDiscrete()) << "parameter " << i;
            EXPECT_EQ (hosted (*plugin, i)->getNumSteps(), row.lastStep + 1) << "parameter " << i;
        }

        rounds = std::max (rounds, row.lastStep + 1);
        rows.push_back (row);
    }

    ASSERT_GE (rows.size(), 10u);
    auto reopened = host.createInstance (sampleRate, blockSize);
    AlxPluginSession session (*plugin, sampleRate, blockSize);
    AlxPluginSession reopenedSession (*reopened, sampleRate, blockSize);
    const auto stepOf = [] (const Row& row, int choice) { return (float) std::min (choice, row.lastStep) / (float) row.lastStep; };

    for (int choice = 0; choice < rounds; ++choice)
    {
        for (const auto& row : rows)
            if (choice <= row.lastStep)
                hosted (*plugin, row.index)->setValue (stepOf (row, choice));

        // Some formats hand a host's change to the plug-in with the next block, and an LV2
        // plug-in tells its host about reloaded values in its blocks.
        session.process (blockSize);
        juce::MemoryBlock state;
        plugin->getStateInformation (state);
        reopened->setStateInformation (state.getData(), (int) state.getSize());

        const auto reloaded = [&]
        {
            return std::all_of (rows.begin(), rows.end(), [&] (const Row& row)
            {
                return std::abs (hosted (*reopened, row.index)->getValue() - stepOf (row, choice)) < 1.0e-6f;
            });
        };
        EXPECT_TRUE (waitFor ([&] { reopenedSession.process (blockSize); return reloaded(); })) << "choice " << choice;

        for (const auto& row : rows)
        {
            const int expected = std::min (choice, row.lastStep);
            SCOPED_TRACE ("parameter " + std::to_string (row.index) + " choice " + std::to_string (expected) + " "
                          + row.texts[expected].toStdString());
            auto* set = hosted (*plugin, row.index);
            auto* reloadedParameter = hosted (*reopened, row.index);

            EXPECT_NEAR (set->getValue(), stepOf (row, choice), 1.0e-6f) << "the host reads back its step";
            EXPECT_NEAR (reloadedParameter->getValue(), stepOf (row, choice), 1.0e-6f) << "the plug-in held the choice";

            if (GetParam() == Format::vst3)
            {
                EXPECT_EQ (set->getText (set->getValue(), 100), row.texts[expected]) << "the host shows the choice's text";
                EXPECT_EQ (reloadedParameter->getCurrentValueAsText(), row.texts[expected]);
            }
        }
    }
}

// The notes the plug-in sends out behind the host's play head equal plimsar-render's for the same
// chord, event for event and sample for sample.

TEST_P (AlxPluginHostCheck, playsTheRenderersNotesAt120Bpm)
{
    const auto expected = render (tempo, 8, 5.0);
    ASSERT_EQ (expected.size(), 8u * 3u * 2u) << "quarter notes of the chord for two bars";

    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, straight(), 240000, blockSize, 8 * samplesPerQuarter);

    EXPECT_EQ (notesOf (session.getEvents()), expected);
    EXPECT_TRUE (onlyNotesAndAllNotesOff (session.getEvents()));
    EXPECT_TRUE (everyNoteEnds (session.getEvents()));
}

// The plug-in finds its place from the host's time: every block is not taken for a jump back to the
// song start.
TEST_P (AlxPluginHostCheck, playsTheRenderersNotesForAHostThatGivesNoSongPosition)
{
    const auto expected = render (tempo, 8, 5.0);

    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, timeOnly(), 240000, blockSize, 8 * samplesPerQuarter);

    EXPECT_EQ (notesOf (session.getEvents()), expected);
    EXPECT_TRUE (everyNoteEnds (session.getEvents()));
}

TEST_P (AlxPluginHostCheck, playsTheRenderersFirstBarAgainAtEveryLoop)
{
    constexpr int loopQuarters = 4;
    const juce::int64 loop = loopQuarters * samplesPerQuarter;
    const auto firstBar = between (render (tempo, 16, 2.0), 0, loop, 0);
    ASSERT_EQ (firstBar.size(), 4u * 3u * 2u);

    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, looping (loopQuarters), 3 * loop, blockSize, -1);

    std::vector<Note> expected;

    for (int pass = 0; pass < 3; ++pass)
        for (const auto& n : between (firstBar, 0, loop, pass * loop))
            expected.push_back (n);

    EXPECT_EQ (notesOf (session.getEvents()), expected);
    EXPECT_TRUE (everyNoteEnds (session.getEvents()));
}

TEST_P (AlxPluginHostCheck, followsATempoChangeAsTheRendererPlaysEachTempo)
{
    constexpr int quartersAt120 = 4;
    constexpr double laterTempo = 90.0;
    const juce::int64 change = quartersAt120 * samplesPerQuarter;
    const juce::int64 laterSamplesPerQuarter = 32000;
    const juce::int64 end = change + 4 * laterSamplesPerQuarter;

    // The first bar as rendered at 120 bpm, the second as rendered at 90 bpm, moved to where
    // the host's second bar starts.
    auto expected = between (render (tempo, 16, 2.0), 0, change, 0);

    for (const auto& n : between (render (laterTempo, 16, 6.0), quartersAt120 * laterSamplesPerQuarter,
                                  2 * quartersAt120 * laterSamplesPerQuarter, change - quartersAt120 * laterSamplesPerQuarter))
        expected.push_back (n);

    ASSERT_EQ (expected.size(), 8u * 3u * 2u);

    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, tempoChange (quartersAt120, laterTempo), end, blockSize, -1);

    EXPECT_EQ (notesOf (session.getEvents()), expected);
    EXPECT_TRUE (everyNoteEnds (session.getEvents()));
}

// Host automation: Step and Gate change every few blocks; each block's firings use the values
// set before it.
TEST_P (AlxPluginHostCheck, automatedStepAndGateApplyFromTheNextBlock)
{
    const int stepIndex = reference.indexOf ("Step");
    const int gateIndex = reference.indexOf ("Gate");
    ASSERT_GE (stepIndex, 0);
    ASSERT_GE (gateIndex, 0);

    struct Setting { const char* step; double quarters; const char* gate; double gate100; };
    const Setting settings[] = { { "1/8", 0.5, "50 %", 0.5 }, { "1/16", 0.25, "25 %", 0.25 },
                                 { "1/4", 1.0, "75 %", 0.75 }, { "1/16", 0.25, "90 %", 0.9 } };
    // Each setting lasts longer than the longest step, so every one of them fires.
    constexpr int blocksPerSetting = 48;
    constexpr juce::int64 settingLength = blocksPerSetting * blockSize;

    auto* step = hosted (*plugin, stepIndex);
    auto* gate = hosted (*plugin, gateIndex);

    // The chord is let go after the last setting; the notes still sounding end after it.
    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, straight(), 8 * settingLength + samplesPerQuarter, blockSize, 8 * settingLength, [&] (juce::int64 start)
    {
        if (start % settingLength == 0 && start < 8 * settingLength)
        {
            const auto& s = settings[(start / settingLength) % 4];
            step->setValue (reference.valueOf (stepIndex, s.step));
            gate->setValue (reference.valueOf (gateIndex, s.gate));
        }
    });

    // Each note-on lies on the grid of the step in force, and each note ends after the gate in
    // force at its note-on, or where the same key fires again while it sounds: the output never
    // switches a key on twice, so the sounding note ends right before the new one and one of the
    // note-offs still scheduled for the key is dropped.
    std::map<std::pair<int, int>, std::vector<juce::int64>> ends;
    std::vector<int> firingsPerSetting (8, 0);
    const auto notes = notesOf (session.getEvents());
    const auto refiredAt = [&] (size_t offIndex)
    {
        const auto& off = notes[offIndex];
        for (size_t i = offIndex + 1; i < notes.size() && notes[i].sample == off.sample; ++i)
            if (notes[i].velocity > 0 && notes[i].channel == off.channel && notes[i].note == off.note)
                return true;
        return false;
    };

    for (size_t index = 0; index < notes.size(); ++index)
    {
        const auto& n = notes[index];
        auto& expectedEnds = ends[std::pair (n.channel, n.note)];

        if (n.velocity > 0)
        {
            const auto& s = settings[(n.sample / settingLength) % 4];
            const auto interval = (juce::int64) (s.quarters * (double) samplesPerQuarter);
            EXPECT_EQ (n.sample % interval, 0) << "a note-on off the " << s.step << " grid at " << n.sample;
            expectedEnds.push_back (n.sample + juce::roundToInt (s.gate100 * (double) interval));

            if (n.note == chord[0])
                ++firingsPerSetting[(size_t) (n.sample / settingLength)];
        }
        else
        {
            auto match = std::find_if (expectedEnds.begin(), expectedEnds.end(),
                                       [&] (juce::int64 end) { return std::abs (end - n.sample) <= 1; });
            if (match == expectedEnds.end() && refiredAt (index))
                match = std::min_element (expectedEnds.begin(), expectedEnds.end());
            EXPECT_NE (match, expectedEnds.end()) << "a note-off at " << n.sample << " ends no note after its gate";

            if (match != expectedEnds.end())
                expectedEnds.erase (match);
        }
    }

    for (const auto& [key, left] : ends)
        EXPECT_TRUE (left.empty()) << "note " << key.second << " did not end after its gate";

    for (size_t i = 0; i < firingsPerSetting.size(); ++i)
        EXPECT_GE (firingsPerSetting[i], 1) << "setting " << i << " fired";

    EXPECT_TRUE (everyNoteEnds (session.getEvents()));
}

// The host's own automation is not sent back to it, as a gesture or as a change. (Gestures made
// in the plug-in's editor reach a VST3 host: see AlxPluginEditorGestureTest.)
TEST_P (AlxPluginHostCheck, hostAutomationComesBackAsNoGestureAndNoChange)
{
    auto* step = hosted (*plugin, reference.indexOf ("Step"));
    auto* gate = hosted (*plugin, reference.indexOf ("Gate"));
    const float steps[] = { reference.valueOf (reference.indexOf ("Step"), "1/8"), reference.valueOf (reference.indexOf ("Step"), "1/16") };
    const float gates[] = { 0.25f, 0.75f };
    AlxPluginSession session (*plugin, sampleRate, blockSize);

    // An LV2 plug-in tells its host every value once in its first blocks; the host listens after.
    AlxMessageLoop::deliverUntil ([&] { session.process (blockSize); return false; }, 300);
    std::vector<AlxGestureEar> ears ((size_t) reference.processor.getParameters().size());

    for (size_t i = 0; i < ears.size(); ++i)
        hosted (*plugin, (int) i)->addListener (&ears[i]);

    for (int block = 0; block < 16; ++block)
    {
        step->setValue (steps[block % 2]);
        gate->setValue (gates[(block / 2) % 2]);
        session.process (blockSize);
        AlxMessageLoop::deliverPending();
    }

    // Whatever the plug-in would send has time to arrive; an LV2 plug-in sends it in its blocks.
    AlxMessageLoop::deliverUntil ([&] { session.process (blockSize); return false; }, 500);
    EXPECT_NEAR (step->getValue(), steps[1], 1.0e-6f);

    for (size_t i = 0; i < ears.size(); ++i)
    {
        EXPECT_TRUE (ears[i].gestures.isEmpty()) << "parameter " << i << ": " << ears[i].gestures.joinIntoString (",");
        EXPECT_EQ (ears[i].changes, 0) << "parameter " << i;
        hosted (*plugin, (int) i)->removeListener (&ears[i]);
    }
}

// Faults a host can cause. The notes stay the renderer's, and every note that started ends.

// Blocks longer than announced are not part of either format (VST3 and LV2 hosts must keep to the
// block size they announced, and JUCE's hosting and wrappers size their buffers by it); the
// processor itself is checked with them in tests/core.
TEST_P (AlxPluginHostCheck, emptyBlocksBetweenTheBlocksChangeNoNote)
{
    const auto expected = render (tempo, 8, 5.0);

    AlxPluginSession session (*plugin, sampleRate, blockSize);
    play (session, straight(), 240000, blockSize, 8 * samplesPerQuarter, [&] (juce::int64 start)
    {
        straight().position (start, session.getPlayHead());
        session.process (0);
    });
    EXPECT_EQ (notesOf (session.getEvents()), expected);
}

TEST_P (AlxPluginHostCheck, preparingAgainWithAnotherRateAndBlockSizeEndsTheNotesThatSound)
{
    AlxPluginSession session (*plugin, sampleRate, blockSize);

    // A quarter note at 0 sounds for 21600 samples; the host prepares again in the middle.
    play (session, straight(), 10 * blockSize, blockSize, -1);
    ASSERT_EQ (notesOf (session.getEvents()).size(), 3u) << "the chord's first firing sounds";

    constexpr double newRate = 44100.0;
    constexpr int newBlockSize = 1024;
    plugin->releaseResources();
    plugin->setRateAndBufferSizeDetails (newRate, newBlockSize);
    plugin->prepareToPlay (newRate, newBlockSize);

    const auto resumedAt = session.getSamplesPlayed();
    const double resumedQuarter = (double) resumedAt / (double) samplesPerQuarter;

    // The host goes on playing, plays the chord again and lets it go after a while.
    for (int block = 0; block < 100; ++block)
    {
        const double ppq = resumedQuarter + block * newBlockSize * 2.0 / newRate;
        session.getPlayHead().set (resumedAt + block * newBlockSize, newRate, ppq, tempo, true);
        session.process (newBlockSize, block == 0 ? chordInput (0, newBlockSize, -1)
                                                  : block == 70 ? chordInput (1, newBlockSize, 1) : juce::MidiBuffer());
    }

    const auto notes = notesOf (session.getEvents());
    ASSERT_GE (notes.size(), 6u);

    // LV2 fixes the sample rate when the plug-in is made, so a host that changes it makes a new
    // one, which starts with nothing sounding; the one instance of VST3 ends its notes.
    if (GetParam() == Format::vst3)
    {
        for (size_t i = 3; i < 6; ++i)
        {
            EXPECT_EQ (notes[i].velocity, 0) << "the sounding notes end first";
            EXPECT_EQ (notes[i].sample, resumedAt) << "at the start of the first block after preparing";
        }
    }

    EXPECT_GT (notes.size(), 12u) << "and the rhythm goes on";

    if (GetParam() == Format::vst3)
    {
        EXPECT_TRUE (everyNoteEnds (session.getEvents()));
    }
}

INSTANTIATE_TEST_SUITE_P (Formats, AlxPluginHostCheck, ::testing::Values (Format::vst3, Format::lv2),
                          [] (const auto& format) { return format.param == Format::vst3 ? std::string ("VST3") : std::string ("LV2"); });
