#include "AlxSynthTestTools.h"
#include "framework/AlxMessageCode.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxTestProcessor.h"
#include "synth/AlxSynthModule.h"

#include <gtest/gtest.h>

namespace
{
    constexpr int blockSize = 512;

    juce::MidiBuffer noteOn (int note)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 127), 0);
        return midi;
    }

    // A synth module on its own: a container with a processor for the callback lock, and the two
    // cables the root would connect.
    struct Rig
    {
        Rig()
        {
            container.setFilter (&processor);
            module.initialise();
            module.getAudioOutputPin()->connect (&audio);
            module.getMidiInputPin()->connect (&midi);
            module.prepareToPlay (44100.0, blockSize);
        }

        ~Rig()
        {
            module.releaseResources();
            module.getAudioOutputPin()->disconnect (&audio);
            module.getMidiInputPin()->disconnect (&midi);
        }

        // Runs one block with the given MIDI and answers the first output channel.
        std::vector<float> process (const juce::MidiBuffer& events = {})
        {
            *midi.getObject() = events;
            module.process (blockSize);
            const auto* samples = audio.getObject()->getReadPointer (0);
            return { samples, samples + blockSize };
        }

        void setGain (const juce::String& text, int program = -1)
        {
            auto* parameter = program < 0 ? module.getGainParameter() : module.getProgramSet (program)->findById (0);
            parameter->setValue (parameter->getDomain()->findByText (text), AlxMessageCode::fromEditor, false, true);
        }

        AlxTestProcessor processor;
        AlxModuleContainer container;
        AlxSynthModule module { &container };
        AlxAudioCable audio { new juce::AudioSampleBuffer (2, blockSize) };
        AlxMidiCable midi { new juce::MidiBuffer() };
    };

    // The synth as the module plays it, without any gain: the reference for the module's output.
    struct Reference
    {
        Reference() { synth.setCurrentPlaybackSampleRate (44100.0); }

        std::vector<float> process (const juce::MidiBuffer& events = {})
        {
            juce::AudioSampleBuffer out (2, blockSize);
            out.clear();
            synth.renderNextBlock (out, events, 0, blockSize);
            return { out.getReadPointer (0), out.getReadPointer (0) + blockSize };
        }

        AlxSynth synth;
    };

    void expectSilentBlock (const juce::AudioSampleBuffer& out)
    {
        EXPECT_EQ (out.getSample (0, 0), AlxSynthModule::silenceMarker);
        EXPECT_EQ (out.getMagnitude (0, 1, blockSize - 1), 0.0f);
        EXPECT_EQ (out.getMagnitude (1, 0, blockSize), 0.0f);
    }
}

TEST (AlxGainDomain, valuesRunFromSilenceThroughHalfDecibelStepsToUnity)
{
    AlxSynthDomainSet set;
    auto* domain = set.getGainDomain();
    EXPECT_EQ (domain->getName(), "Gain");
    EXPECT_EQ (domain->getLabel(), "Synth Gain");
    EXPECT_EQ (domain->getDescription(), "Output volume level of built-in test synth");
    EXPECT_EQ (domain->getControlKind(), AlxControlKind::range);
    EXPECT_TRUE (domain->isIndexed());
    ASSERT_EQ (domain->getNumValues(), 78);
    EXPECT_EQ (domain->getDefaultValue()->getText(), "-4.0 dB");

    const struct
    {
        int index;
        const char* text;
        double gain;
    } cases[] = { { 0, "-oo dB", 0.0 },          { 1, "-38.0 dB", 0.012589254 }, { 2, "-37.5 dB", 0.013335214 },
                  { 69, "-4.0 dB", 0.630957344 }, { 76, "-0.5 dB", 0.944060876 }, { 77, "0.0 dB", 1.0 } };

    for (auto& c : cases)
    {
        auto* value = domain->getValues()[(size_t) c.index].get();
        EXPECT_EQ (value->getText(), c.text);
        EXPECT_EQ (value->getId(), c.index);
        EXPECT_NEAR (value->getRealValue(), c.gain, 1.0e-9) << c.text;
        EXPECT_TRUE (value->getShortText() == value->getText() && value->getLongText().isEmpty());
    }
}

TEST (AlxSynthModule, initialiseMakesPinsAndOneHostVisibleGainPerProgram)
{
    Rig rig;
    auto& module = rig.module;
    EXPECT_EQ (module.getId(), 8000);
    EXPECT_EQ (rig.container.findModule (8000), &module);

    ASSERT_EQ (module.getPins().size(), 2u);
    EXPECT_EQ (module.getPins()[0].get(), module.getAudioOutputPin());
    EXPECT_TRUE (module.getAudioOutputPin()->isOutput() && ! module.getAudioOutputPin()->isInput());
    EXPECT_EQ (module.getPins()[1].get(), module.getMidiInputPin());
    EXPECT_TRUE (module.getMidiInputPin()->isInput() && ! module.getMidiInputPin()->isOutput());

    const int hostIndex = module.getGainParameter()->getHostIndex();
    EXPECT_GE (hostIndex, 0);

    for (int program = 0; program < AlxModule::numPrograms; ++program)
    {
        auto* gain = module.getProgramSet (program)->findById (0);
        ASSERT_NE (gain, nullptr);
        EXPECT_EQ (gain->getHostIndex(), hostIndex);
        EXPECT_EQ (gain->getDomain(), module.getDomainSet()->getGainDomain());
    }

    auto& map = rig.container.getParameterMap();
    EXPECT_EQ (map.getNumParameters(), 1);
    EXPECT_EQ (map.lookup (hostIndex), module.getGainParameter());
    EXPECT_NEAR (module.getGain(), 0.630957344 * 0.65, 1.0e-6);
}

TEST (AlxSynthModule, theGainBelongsToTheProgram)
{
    Rig rig;
    rig.setGain ("-oo dB", 1);
    rig.setGain ("0.0 dB", 2);

    const std::pair<int, float> cases[] = { { 1, 0.0f }, { 2, 0.65f }, { 0, 0.630957344f * 0.65f } };

    for (auto& [program, gain] : cases)
    {
        rig.module.setCurrentProgram (program);
        EXPECT_NEAR (rig.module.getGain(), gain, 1.0e-6) << "program " << program;
    }
}

TEST (AlxSynthModule, fadesInFromSilenceThenPlaysAtTheProgramsGain)
{
    Rig rig;
    Reference reference;
    const float gain = rig.module.getGain();

    // The first block after initialise ramps from 0; the second holds the gain.
    const auto first = rig.process (noteOn (64)), expectedFirst = reference.process (noteOn (64));
    const auto second = rig.process (), expectedSecond = reference.process();

    for (int s = 0; s < blockSize; ++s)
    {
        ASSERT_NEAR (first[(size_t) s], expectedFirst[(size_t) s] * gain * (float) s / blockSize, 1.0e-5f) << s;
        ASSERT_NEAR (second[(size_t) s], expectedSecond[(size_t) s] * gain, 1.0e-6f) << s;
    }

    // About 0.41 of a table that peaks near 0.707.
    EXPECT_NEAR (gain, 0.410, 0.001);
    EXPECT_GT (rig.audio.getObject()->getMagnitude (0, 0, blockSize), 0.05f);
}

TEST (AlxSynthModule, movingTheGainToSilenceFadesAcrossOneBlockThenMarksSilence)
{
    Rig rig;
    Reference reference;
    rig.setGain ("0.0 dB");
    rig.process (noteOn (64));
    reference.process (noteOn (64));

    rig.setGain ("-oo dB");
    const auto fading = rig.process(), expected = reference.process();

    for (int s = 0; s < blockSize; ++s)
        ASSERT_NEAR (fading[(size_t) s], expected[(size_t) s] * 0.65f * (1.0f - (float) s / blockSize), 1.0e-5f) << s;

    EXPECT_GT (std::abs (fading[0]), 0.01f);

    rig.process();
    expectSilentBlock (*rig.audio.getObject());
}

TEST (AlxSynthModule, aBlockWithoutVoicesCarriesTheSilenceMarkerOnly)
{
    Rig rig;
    rig.process();
    expectSilentBlock (*rig.audio.getObject());
}

TEST (AlxSynthModule, aResetRequestReleasesTheNotesAtTheEndOfTheNextBlock)
{
    Rig rig;
    rig.process (noteOn (60));
    rig.process (noteOn (72));

    rig.container.getBroadcastParameter()->post (AlxMessageCode::make (AlxMessageCode::resetRequest, AlxMessageCode::internal));
    AlxMessageLoop::deliverPending();
    ASSERT_TRUE (rig.module.isResetPending());

    // The block still plays; the notes then fade over their release (0.7 s at most).
    EXPECT_GT (juce::FloatVectorOperations::findMaximum (rig.process().data(), blockSize), 0.01f);
    EXPECT_FALSE (rig.module.isResetPending());

    for (int block = 0; block < 0.75 * 44100 / blockSize; ++block)
        rig.process();

    expectSilentBlock (*rig.audio.getObject());
}

TEST (AlxSynthModule, prepareToPlayAtAnotherRateStopsNotesAndRetunesTheVoices)
{
    Rig rig;
    rig.process (noteOn (60));
    rig.module.prepareToPlay (48000.0, blockSize);
    EXPECT_EQ (rig.module.getSynth()->getSampleRate(), 48000.0);
    rig.process();
    expectSilentBlock (*rig.audio.getObject());

    rig.process (noteOn (60));
    auto* voice = dynamic_cast<AlxSamplerVoice*> (rig.module.getSynth()->getVoice (0));
    EXPECT_NEAR (voice->getPitchRatio(), std::pow (2.0, 3.0 / 12.0) * 44100.0 / 48000.0, 1.0e-12);

    rig.module.releaseResources();
    rig.process();
    expectSilentBlock (*rig.audio.getObject());
}
