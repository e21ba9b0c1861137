#include "framework/AlxMessageCode.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

namespace
{
    constexpr int editorChange = AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor);

    class LfoFixture : public ::testing::Test
    {
    protected:
        AlxParameter* stepSource() const { return trigger.getProgramParameters()->findById (AlxTriggerModule::stepSourceId); }
        AlxParameter* gateSource() const { return trigger.getProgramParameters()->findById (AlxTriggerModule::gateSourceId); }

        AlxTestHost host;
        AlxNotePath path { host };
        AlxLFOGroupModule& group = *host.getRoot().getLfoGroup();
        AlxLFOModule& lfo1 = *group.getLfo (0);
        AlxLFOModule& lfo2 = *group.getLfo (1);
        AlxTriggerModule& trigger = *host.getRoot().getTriggerModule();
        AlxTransportModule& transport = *host.getRoot().getTransportModule();
    };

    struct SettingCase
    {
        AlxParameter* (AlxLFOModule::*parameter)() const;
        const char* text;
        std::function<double (const AlxLFO&)> read;
        double expected;
    };
}

TEST_F (LfoFixture, eachSettingReachesItsGenerator)
{
    // The generator starts from the factory bank's program 0.
    EXPECT_EQ (lfo1.getGenerator().getLevel(), 1.0);
    EXPECT_EQ (lfo1.getGenerator().getWaveform(), AlxLFO::rampUp);

    const SettingCase cases[] = {
        { &AlxLFOModule::getShapeParameter, "Tria", [] (const AlxLFO& l) { return (double) l.getWaveform(); }, AlxLFO::triangle },
        { &AlxLFOModule::getFrequencyParameter, "1/4", [] (const AlxLFO& l) { return l.getFrequency(); }, 0.25 },
        { &AlxLFOModule::getPerParameter, "Beat", [] (const AlxLFO& l) { return (double) l.getFrequencyUnit(); }, AlxLFO::perBeat },
        { &AlxLFOModule::getLevelParameter, "0.50", [] (const AlxLFO& l) { return l.getLevel(); }, 0.5 },
        { &AlxLFOModule::getPhaseParameter, "0.25", [] (const AlxLFO& l) { return l.getPhase(); }, 0.25 },
        { &AlxLFOModule::getDcOffsetParameter, "-0.40", [] (const AlxLFO& l) { return l.getDcOffset(); }, -0.4 },
        { &AlxLFOModule::getPulseWidthParameter, "0.75", [] (const AlxLFO& l) { return l.getPulseWidth(); }, 0.75 },
        { &AlxLFOModule::getNoiseParameter, "30 %", [] (const AlxLFO& l) { return l.getDeviation(); }, 0.3 },
    };

    for (auto& c : cases)
    {
        path.select ((lfo2.*c.parameter)(), c.text);
        host.deliver();
        EXPECT_NEAR (c.read (lfo2.getGenerator()), c.expected, 1.0e-12) << c.text;
        EXPECT_NE (c.read (lfo1.getGenerator()), c.expected) << c.text;
    }

    // With the unit "Beat" and a quarter cycle per beat, one cycle lasts four beats.
    EXPECT_DOUBLE_EQ (lfo2.getGenerator().getCycleLength(), 4.0);

    // A program switch applies the other program's settings.
    host.getRoot().setCurrentProgram (5);
    host.deliver();
    EXPECT_EQ (lfo2.getGenerator().getLevel(), 1.0);
    EXPECT_EQ (lfo2.getGenerator().getWaveform(), AlxLFO::rampUp);
    EXPECT_EQ (lfo2.getGenerator().getFrequencyUnit(), AlxLFO::perBar);

    host.getRoot().setCurrentProgram (0);
    host.deliver();
    EXPECT_EQ (lfo2.getGenerator().getLevel(), 0.5);
}

TEST_F (LfoFixture, theSelectedLfoIsWhatTheEditorEditsWhileBothModulate)
{
    EXPECT_EQ (group.getSelectedLfo(), &lfo1);
    EXPECT_LT (group.getSelectedLfoParameter()->getHostIndex(), 0);

    AlxRecordingSink editor;
    group.addSinkRecursive (&editor, true);
    path.select (lfo1.getLevelParameter(), "1.50");
    path.select (lfo2.getLevelParameter(), "0.30");
    path.select (stepSource(), "LFO1");
    path.select (gateSource(), "LFO2");
    host.deliver();

    EXPECT_EQ (group.getSelectedParameter (AlxLFOModule::levelId)->getValue()->getText(), "1.50");
    EXPECT_EQ (editor.count (group.getSelectedParameter (AlxLFOModule::levelId), editorChange), 1);
    EXPECT_EQ (editor.records.size(), 1u);

    path.select (group.getSelectedLfoParameter(), "LFO2");
    host.deliver();
    EXPECT_EQ (group.getSelectedLfo(), &lfo2);
    EXPECT_EQ (group.getSelectedParameter (AlxLFOModule::levelId)->getValue()->getText(), "0.30");

    // The editor now hears LFO 2's settings and no longer LFO 1's.
    editor.clear();
    path.select (lfo1.getShapeParameter(), "Sin");
    path.select (lfo2.getShapeParameter(), "Flat");
    host.deliver();
    EXPECT_EQ (editor.count (group.getSelectedParameter (AlxLFOModule::shapeId), editorChange), 1);
    EXPECT_EQ (editor.records.size(), 1u);

    // Both LFOs still modulate.
    bool stepModulated = false, gateModulated = false;
    group.modulatedValue (trigger.getStepParameter(), 1.0, stepModulated);
    group.modulatedValue (trigger.getGateParameter(), 1.0, gateModulated);
    EXPECT_TRUE (stepModulated);
    EXPECT_TRUE (gateModulated);

    // Flat at level 0.3 on the gate: ceil(161 x 0.3) = 49, the value at index 48.
    EXPECT_EQ (trigger.gateAt (1.0)->getText(), "48 %");
    group.removeSinkRecursive (&editor, true);
}

TEST_F (LfoFixture, aModulatedValueIsCutFromTheLevelAndTheOwnValueStandsOtherwise)
{
    path.select (trigger.getGateParameter(), "55 %");
    bool modulated = true;
    EXPECT_EQ (group.modulatedValue (trigger.getGateParameter(), 2.0, modulated)->getText(), "55 %");
    EXPECT_FALSE (modulated);
    EXPECT_EQ (group.lfoLevelFor (trigger.getGateParameter(), 2.0, 4, 4, modulated), 0.0);
    EXPECT_FALSE (modulated);

    // Saw up, level 1, one cycle per bar: 0 at the bar start, the last table step at its end.
    path.select (lfo1.getLevelParameter(), "1.00");
    path.select (gateSource(), "LFO1");
    host.deliver();
    EXPECT_EQ (group.modulatedValue (trigger.getGateParameter(), 4.0, modulated)->getText(), "0 %");
    EXPECT_TRUE (modulated);
    EXPECT_EQ (group.modulatedValue (trigger.getGateParameter(), 7.999, modulated)->getText(), "400 %");
    EXPECT_DOUBLE_EQ (group.lfoLevelFor (trigger.getGateParameter(), 2.0, 4, 4, modulated), 256.0 / 511.0);
}

TEST_F (LfoFixture, aTimeSignatureChangeReachesTheLfoAtItsNextRead)
{
    path.select (lfo1.getLevelParameter(), "1.00");
    path.select (gateSource(), "LFO1");
    transport.getNumeratorParameter()->setRealValue (3.0f, 2, false, true);
    host.deliver();

    // A 3/4 bar lasts three quarter notes: the ramp starts again at 3.
    bool modulated = false;
    EXPECT_EQ (group.lfoLevelFor (trigger.getGateParameter(), 3.0, transport.getNumerator(), transport.getDenominator(), modulated), 0.0);
    EXPECT_DOUBLE_EQ (lfo1.getGenerator().getCycleLength(), 3.0);
    EXPECT_EQ (lfo1.getGenerator().getTableSize(), 510);
}

TEST_F (LfoFixture, aReadingKeptOverManyTimesGivesWhatAFreshReadGivesAtEachOne)
{
    // Noise and a phase make every table step differ, also from its neighbours' noise.
    path.select (lfo1.getShapeParameter(), "Sin");
    path.select (lfo1.getLevelParameter(), "1.00");
    path.select (lfo1.getPhaseParameter(), "0.25");
    path.select (lfo1.getNoiseParameter(), "30 %");
    path.select (gateSource(), "LFO1");
    host.deliver();

    auto* gate = trigger.getGateParameter();
    const int numerator = transport.getNumerator(), denominator = transport.getDenominator();
    const double step = 1.0 / lfo1.getGenerator().samplesPerQuarter();
    std::vector<double> times;

    // Sample by sample at 44.1 kHz and 120 bpm around the song start, both ways; the step
    // boundaries themselves and a hair on either side; far into the song.
    for (int i = -3000; i <= 3000; ++i)
        times.push_back (i / 22050.0);

    for (int i = 3000; i >= -3000; i -= 7)
        times.push_back (i / 22050.0);

    for (int k = -5; k <= 5; ++k)
        for (double t : { k * step, std::nextafter (k * step, -1.0e9), std::nextafter (k * step, 1.0e9) })
            times.push_back (t);

    for (int i = 0; i < 2000; ++i)
        times.push_back (1.0e6 + i / 22050.0);

    const auto reading = group.readingOf (gate, numerator, denominator);
    int differences = 0;

    for (double t : times)
    {
        bool modulated = false;
        differences += reading.at (t) != group.modulatedValue (gate, t, modulated) ? 1 : 0;
    }

    EXPECT_EQ (differences, 0);
}
