#include "framework/AlxMessageCode.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"
#include "support/AlxTestPlayHead.h"
#include "support/AlxTestProcessor.h"

#include <gtest/gtest.h>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    enum class State { stopped, armed, playing };

    const char* nameOf (State s)
    {
        switch (s)
        {
            case State::stopped: return "Stopped";
            case State::armed:   return "Armed";
            case State::playing: return "Playing";
        }

        return "?";
    }

    // A transport on its own: a container whose processor supplies the callback lock and, for
    // host-driven cases, the play head. Blocks run as the root runs them: process, then the
    // block length is added to the sample counter.
    class TransportFixture
    {
    public:
        TransportFixture()
        {
            container.setFilter (&processor);
            transport = std::make_unique<AlxTransportModule> (&container);
            transport->initialise();
            transport->getStateParameter()->addSink (&events);
            transport->getTempoParameter()->addSink (&events);
            container.getBroadcastParameter()->addSink (&events);
        }

        ~TransportFixture()
        {
            container.getBroadcastParameter()->removeSink (&events);
            processor.setPlayHead (nullptr);
        }

        void useHost() { processor.setPlayHead (&playHead); }
        void prepare() { transport->prepareToPlay (sampleRate, blockSize); }

        void runBlock (int n = blockSize)
        {
            transport->process (n);
            transport->advanceSampleCounter (n);
        }

        // The host starts or stops: one block sees it, then what it requested is delivered.
        void hostRuns (bool running)
        {
            playHead.setPlaying (running);
            runBlock();
            AlxMessageLoop::deliverPending();
        }

        State state() const
        {
            EXPECT_EQ ((int) transport->isStopped() + (int) transport->isArmed() + (int) transport->isPlaying(), 1);
            return transport->isPlaying() ? State::playing : transport->isArmed() ? State::armed : State::stopped;
        }

        // From Armed (where initialise leaves it) to the given state, through the requests.
        void reach (State target)
        {
            if (target == State::stopped)
                transport->postStop (false);
            else if (target == State::playing)
                transport->postStart();

            AlxMessageLoop::deliverPending();
            ASSERT_EQ (state(), target);

            // Consumes the reset requested on the way.
            transport->process (0);
            events.clear();
        }

        // What every state load does: the settings arrive at the transport, whose tempo until
        // then is its initial one.
        void resendSettings()
        {
            transport->resendParameterValues();
            AlxMessageLoop::deliverPending();
            events.clear();
        }

        void post (int request)
        {
            switch (request)
            {
                case AlxTransportModule::startRequest:  transport->postStart(); break;
                case AlxTransportModule::playRequest:   transport->postPlay(); break;
                case AlxTransportModule::rewindRequest: transport->postRewind(); break;
                case AlxTransportModule::stopRequest:   transport->postStop (false); break;
                default: FAIL() << "not a request: " << request;
            }
        }

        int countEvent (int code) const { return events.count (transport->getStateParameter(), code); }

        AlxTestProcessor processor;
        AlxModuleContainer container;
        AlxTestPlayHead playHead;
        AlxRecordingSink events;
        std::unique_ptr<AlxTransportModule> transport;
    };

    class AlxTransportModuleTest : public ::testing::Test, public TransportFixture {};
}

TEST_F (AlxTransportModuleTest, initialiseRegistersArmsAndStoresTheGlobalSettings)
{
    EXPECT_EQ (container.findModule (2000), transport.get());
    EXPECT_EQ (state(), State::armed);

    // Tempo and signature are internal settings, not host-visible ones.
    EXPECT_EQ (transport->getTempoParameter()->getHostIndex(), -1);
    EXPECT_EQ (transport->getNumeratorParameter()->getHostIndex(), -2);
    EXPECT_EQ (transport->getDenominatorParameter()->getHostIndex(), -3);
    EXPECT_EQ (container.getParameterMap().getNumParameters(), 0);
    EXPECT_EQ (container.getParameterMap().lookup (-1), transport->getTempoParameter());
    EXPECT_EQ (transport->getStatusParameters()->findById (1), transport->getStateParameter());

    // The state is not part of the stored document.
    EXPECT_EQ (transport->createGlobalXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<glob><ps><pv i=\"0\" v=\"120\"/><pv i=\"1\" v=\"4\"/><pv i=\"2\" v=\"4\"/></ps></glob>");
}

TEST_F (AlxTransportModuleTest, prepareAppliesThePositionAtOnce)
{
    transport->setSampleCounter (1234.0);
    prepare();

    EXPECT_EQ (transport->getSampleCounter(), 0.0);
    EXPECT_EQ (transport->getSampleRate(), sampleRate);
    EXPECT_EQ (transport->getBar(), 0);
    EXPECT_EQ (transport->getBeat(), 0);
    EXPECT_FALSE (transport->isHostDriven());
    EXPECT_EQ (transport->getPosition().bpm, 90.0);
    EXPECT_EQ (transport->getPosition().timeSigNumerator, 4);
    EXPECT_EQ (transport->getPosition().timeSigDenominator, 4);
}

// ---------------------------------------------------------------------------------------------
// The state machine

namespace
{
    struct StateCase
    {
        State from;
        int request;
        State to;
        bool counterReset;
        bool resetRequested;
    };

    void PrintTo (const StateCase& c, std::ostream* os)
    {
        *os << nameOf (c.from) << " + 0x" << std::hex << c.request << std::dec << " -> " << nameOf (c.to);
    }

    class AlxTransportStateTable : public ::testing::TestWithParam<StateCase>, public TransportFixture {};

    using T = AlxTransportModule;

    const StateCase stateCases[] = {
        { State::stopped, T::startRequest,  State::armed,   false, false },
        { State::armed,   T::startRequest,  State::playing, false, false },
        { State::playing, T::startRequest,  State::playing, false, false },
        { State::stopped, T::playRequest,   State::armed,   false, true },
        { State::armed,   T::playRequest,   State::playing, true,  true },
        { State::playing, T::playRequest,   State::playing, true,  true },
        { State::stopped, T::rewindRequest, State::stopped, false, true },
        { State::armed,   T::rewindRequest, State::armed,   false, true },
        { State::playing, T::rewindRequest, State::playing, true,  true },
        { State::stopped, T::stopRequest,   State::stopped, false, true },
        { State::armed,   T::stopRequest,   State::stopped, false, true },
        { State::playing, T::stopRequest,   State::armed,   false, true },
    };
}

TEST_P (AlxTransportStateTable, requestMovesTheStateWhenDelivered)
{
    const auto& c = GetParam();
    prepare();
    reach (c.from);
    transport->setSampleCounter (1000.0);

    post (c.request);
    EXPECT_EQ (state(), c.from) << "a request acts only when it is delivered";

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), c.to);
    EXPECT_EQ (transport->getSampleCounter(), c.counterReset ? 0.0 : 1000.0);
    EXPECT_EQ (transport->isResetPending(), c.resetRequested) << "raised together with the state change";

    // A state change is announced once; staying in the same state announces nothing.
    EXPECT_EQ (events.count (transport->getStateParameter(), AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::internal)),
               c.from != c.to ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P (AllCells, AlxTransportStateTable, ::testing::ValuesIn (stateCases));

TEST_F (AlxTransportModuleTest, playArmsFirstThenStartsFromZero)
{
    prepare();
    reach (State::stopped);

    transport->postPlay();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::armed);

    for (int i = 0; i < 10; ++i)
        runBlock();

    transport->postPlay();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::playing);

    runBlock();
    EXPECT_EQ (transport->getPosition().ppqPosition, 0.0);
    EXPECT_TRUE (transport->getPosition().isPlaying);
}

TEST_F (AlxTransportModuleTest, stopTwiceTakesPlayingAllTheWayToStopped)
{
    prepare();
    reach (State::playing);

    transport->postStop (true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::stopped);
    EXPECT_EQ (countEvent (AlxTransportModule::stopRequest), 2);
}

TEST_F (AlxTransportModuleTest, timerTicksOnTheStateParameter)
{
    EXPECT_TRUE (AlxMessageLoop::deliverUntil ([this] { return countEvent (AlxTransportModule::tick) > 0; },
                                               4 * AlxTransportModule::tickIntervalMs));
}

// ---------------------------------------------------------------------------------------------
// Following a host

TEST_F (AlxTransportModuleTest, hostStartWhileArmedPlaysFromZeroInTheBlockThatSeesIt)
{
    useHost();
    prepare();
    runBlock();
    transport->setSampleCounter (5000.0);

    // No wait for the message thread: the host's first notes would be lost by however long it
    // takes to get there.
    playHead.setPlaying (true);
    transport->process (blockSize);
    EXPECT_EQ (transport->getSampleCounter(), 0.0);
    EXPECT_EQ (state(), State::playing);
    EXPECT_TRUE (transport->isHostDriven());

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::playing);
    EXPECT_EQ (countEvent (AlxTransportModule::startRequest), 0) << "nothing left to request";
}

TEST_F (AlxTransportModuleTest, hostStartWhileStoppedStaysStopped)
{
    useHost();
    prepare();
    reach (State::stopped);

    hostRuns (true);
    hostRuns (true);

    EXPECT_EQ (state(), State::stopped);
    EXPECT_EQ (countEvent (AlxTransportModule::startRequest), 0);
}

TEST_F (AlxTransportModuleTest, hostRecordingCountsAsRunning)
{
    useHost();
    prepare();

    playHead.setRecording (true);
    runBlock();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::playing);
}

TEST_F (AlxTransportModuleTest, hostStopWhilePlayingReturnsToArmedAndSilencesInTheBlockThatSeesIt)
{
    useHost();
    prepare();
    hostRuns (true);
    ASSERT_EQ (state(), State::playing);
    events.clear();

    playHead.setPlaying (false);
    transport->processBlockBody (blockSize);
    EXPECT_EQ (state(), State::armed) << "no notes after the host stopped";
    EXPECT_TRUE (transport->isResetPending()) << "the notes that sound end with this block";

    AlxMessageLoop::deliverPending();
    EXPECT_EQ (state(), State::armed);
    EXPECT_EQ (countEvent (AlxTransportModule::stopRequest), 0);
}

TEST_F (AlxTransportModuleTest, hostStopWhileArmedChangesNothing)
{
    useHost();
    prepare();
    hostRuns (true);

    // The user stops while the host keeps running: Armed with a running host.
    transport->postStop (false);
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (state(), State::armed);
    events.clear();

    hostRuns (false);

    EXPECT_EQ (state(), State::armed);
    EXPECT_EQ (countEvent (AlxTransportModule::stopRequest), 0);
}

TEST_F (AlxTransportModuleTest, hostTempoAndSignatureAreMirroredAfterTheBlockThatReadThem)
{
    useHost();
    prepare();
    playHead.setBpm (133.5);
    playHead.setTimeSignature (7, 8);

    runBlock();

    // Set within the block, under the parameters' locks; views hear of it through messages.
    EXPECT_EQ (transport->getTempoParameter()->getRealValue(), 133.5f);
    EXPECT_EQ (transport->getNumeratorParameter()->getRealValue(), 7.0f);
    EXPECT_EQ (transport->getDenominatorParameter()->getRealValue(), 8.0f);

    transport->setSampleCounter (700.0);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (events.count (transport->getTempoParameter(), AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromPlayHead)), 1);

    // The mirrored values coming back do not restart the clock or disturb the position.
    EXPECT_EQ (transport->getSampleCounter(), 700.0);
    EXPECT_EQ (transport->getPosition().bpm, 133.5);
    EXPECT_EQ (transport->getNumerator(), 7);
    EXPECT_EQ (transport->getDenominator(), 8);
}

TEST_F (AlxTransportModuleTest, hostTempoOutsideTheParameterRangeIsUsedButNotMirrored)
{
    useHost();
    prepare();
    playHead.setBpm (1500.0);

    runBlock();
    AlxMessageLoop::deliverPending();
    runBlock();
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (transport->getPosition().bpm, 1500.0);
    EXPECT_EQ (transport->getTempoParameter()->getRealValue(), 120.0f);
    EXPECT_EQ (events.countKind (AlxMessageCode::valueChanged), 0) << "no refusal travelling back and forth";
}

namespace
{
    struct RepairCase
    {
        double bpm;
        int numerator, denominator;
        double expectedBpm;
        int expectedNumerator, expectedDenominator;
    };

    class AlxTransportRepair : public ::testing::TestWithParam<RepairCase>, public TransportFixture {};

    const RepairCase repairCases[] = {
        { -5.0, 0, 0, 120.0, 4, 4 },
        { 0.0, 3, 0, 120.0, 3, 4 },
        { std::numeric_limits<double>::quiet_NaN(), 0, 8, 120.0, 4, 8 },
        { -0.001, -3, -4, 120.0, 4, 4 },
        { 97.0, 5, 4, 97.0, 5, 4 },
    };
}

TEST_P (AlxTransportRepair, hostPositionsWithoutTempoOrSignatureAreRepaired)
{
    const auto& c = GetParam();
    useHost();
    playHead.setBpm (c.bpm);
    playHead.setTimeSignature (c.numerator, c.denominator);
    prepare();

    EXPECT_EQ (transport->getPosition().bpm, c.expectedBpm);
    EXPECT_EQ (transport->getNumerator(), c.expectedNumerator);
    EXPECT_EQ (transport->getDenominator(), c.expectedDenominator);
    EXPECT_GT (transport->getSamplesPerQuarter(), 0.0);
}

INSTANTIATE_TEST_SUITE_P (Cases, AlxTransportRepair, ::testing::ValuesIn (repairCases));

TEST_F (AlxTransportModuleTest, playHeadWithoutPositionLeavesTheClockToTheTransport)
{
    playHead.setAvailable (false);
    useHost();
    prepare();

    EXPECT_FALSE (transport->isHostDriven());
    EXPECT_EQ (transport->getPosition().bpm, 90.0);
}

TEST_F (AlxTransportModuleTest, stoppedHostLeavesTheClockToAPlayingTransport)
{
    useHost();
    playHead.setBpm (60.0);
    playHead.setPpqPosition (17.0);
    prepare();
    EXPECT_EQ (transport->getPosition().ppqPosition, 17.0) << "a stopped host's position stands while not playing";

    transport->postPlay();
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (state(), State::playing);

    transport->setSampleCounter (2.0 * sampleRate);
    runBlock();
    EXPECT_TRUE (transport->isHostDriven());
    EXPECT_EQ (transport->getPosition().ppqPosition, 2.0) << "two seconds at the host's 60 bpm";
}

// A host that sends its time but no song position in quarter notes (an LV2 host's time position
// with the bar and the beat within it, which the LV2 wrapper does not read) stands where its time
// puts it at its tempo, block after block, instead of at the song start every block.
TEST_F (AlxTransportModuleTest, hostTimeWithoutSongPositionGivesThePositionAtItsTempo)
{
    useHost();
    playHead.setBpm (90.0);
    playHead.setPpqPosition ({});
    playHead.setPlaying (true);
    prepare();

    for (const double seconds : { 0.0, 1.0, 2.5 })
    {
        playHead.setTimeInSeconds (seconds);
        runBlock();
        EXPECT_TRUE (transport->isHostDriven());
        EXPECT_DOUBLE_EQ (transport->getPosition().ppqPosition, seconds * 1.5) << seconds << " s";
    }
}

TEST_F (AlxTransportModuleTest, snapshotCopiesWhatTheLastBlockApplied)
{
    useHost();
    playHead.setTimeSignature (3, 4);
    playHead.setPpqPosition (7.5);
    playHead.setTimeInSamples (360000);
    prepare();

    AlxTransportPosition info;
    int bar = -1, beat = -1;
    bool hostDriven = false;
    transport->getPositionSnapshot (info, bar, beat, hostDriven);

    EXPECT_EQ (info, transport->getPosition());
    EXPECT_EQ (info.timeInSamples, 360000);
    EXPECT_EQ (bar, 2);
    EXPECT_EQ (beat, 1);
    EXPECT_TRUE (hostDriven);
}

// ---------------------------------------------------------------------------------------------
// Bars and beats

namespace
{
    struct BarBeatCase
    {
        int numerator, denominator;
        double ppq;
        int bar, beat;
    };

    class AlxTransportBarBeat : public ::testing::TestWithParam<BarBeatCase>, public TransportFixture {};

    const BarBeatCase barBeatCases[] = {
        { 3, 4, 7.5, 2, 1 },     // beat length 1, bar length 3
        { 6, 8, 4.0, 1, 2 },     // beat length 0.5, bar length 3
        { 4, 4, 3.999, 0, 3 },
        { 4, 4, 4.0, 1, 0 },
        { 7, 8, 3.5, 1, 0 },
        { 4, 4, -0.5, -1, 3 },   // a host's pre-roll before the song start
    };
}

TEST_P (AlxTransportBarBeat, barAndBeatFollowTheSignature)
{
    const auto& c = GetParam();
    useHost();
    playHead.setTimeSignature (c.numerator, c.denominator);
    playHead.setPpqPosition (c.ppq);
    prepare();
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (transport->getBar(), c.bar);
    EXPECT_EQ (transport->getBeat(), c.beat);

    // Before the first position the bar index is -1 too, so bar -1 is no change.
    EXPECT_EQ (countEvent (AlxTransportModule::barChanged), c.bar != -1 ? 1 : 0);
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 1);
}

INSTANTIATE_TEST_SUITE_P (Cases, AlxTransportBarBeat, ::testing::ValuesIn (barBeatCases));

TEST_F (AlxTransportModuleTest, unchangedPositionPostsNoBarOrBeatEvent)
{
    useHost();
    playHead.setPpqPosition (5.25);
    prepare();
    AlxMessageLoop::deliverPending();
    events.clear();

    runBlock();
    runBlock();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countEvent (AlxTransportModule::barChanged), 0);
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 0);

    // A new position within the same beat changes neither index either.
    playHead.setPpqPosition (5.5);
    runBlock();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 0);

    playHead.setPpqPosition (6.0);
    runBlock();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 1);
    EXPECT_EQ (countEvent (AlxTransportModule::barChanged), 0);
}

// ---------------------------------------------------------------------------------------------
// The own clock and its settings

TEST_F (AlxTransportModuleTest, ownClockCountsQuarterNotesFromTheSampleCounter)
{
    prepare();
    resendSettings();
    ASSERT_EQ (transport->getPosition().bpm, 120.0);

    transport->setSampleCounter (1.5 * sampleRate);
    runBlock();

    EXPECT_EQ (transport->getPosition().ppqPosition, 3.0);
    EXPECT_EQ (transport->getBar(), 0);
    EXPECT_EQ (transport->getBeat(), 3);
    EXPECT_EQ (transport->getSamplesPerQuarter(), sampleRate / 2.0);
    EXPECT_FALSE (transport->getPosition().isPlaying);
}

TEST_F (AlxTransportModuleTest, tempoChangeRestartsTheOwnClockAtZero)
{
    prepare();
    transport->postPlay();
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (state(), State::playing);

    for (int i = 0; i < 100; ++i)
        runBlock();

    ASSERT_GT (transport->getPosition().ppqPosition, 1.0);
    AlxMessageLoop::deliverPending();
    events.clear();

    transport->getTempoParameter()->setRealValue (140.0f, AlxMessageCode::fromEditor, false, true);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (transport->getSampleCounter(), 0.0);
    EXPECT_EQ (transport->getPosition().bpm, 140.0);
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 1);

    runBlock();
    EXPECT_EQ (transport->getPosition().ppqPosition, 0.0);
}

TEST_F (AlxTransportModuleTest, signatureChangeRestartsTheOwnClockAtZero)
{
    prepare();
    resendSettings();
    transport->setSampleCounter (10000.0);

    transport->getNumeratorParameter()->setRealValue (5.0f, AlxMessageCode::fromEditor, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (transport->getNumerator(), 5);
    EXPECT_EQ (transport->getSampleCounter(), 0.0);

    transport->setSampleCounter (10000.0);
    transport->getDenominatorParameter()->setRealValue (8.0f, AlxMessageCode::fromEditor, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (transport->getDenominator(), 8);
    EXPECT_EQ (transport->getSampleCounter(), 0.0);
    EXPECT_EQ (countEvent (AlxTransportModule::beatChanged), 2);
}

namespace
{
    enum class Setting { tempo, numerator, denominator };

    struct RangeCase
    {
        Setting setting;
        float value;
        bool accepted;
    };

    class AlxTransportRange : public ::testing::TestWithParam<RangeCase>, public TransportFixture
    {
    protected:
        AlxParameter* parameter (Setting s) const
        {
            return s == Setting::tempo ? transport->getTempoParameter()
                 : s == Setting::numerator ? transport->getNumeratorParameter()
                 : transport->getDenominatorParameter();
        }

        double positionValue (Setting s) const
        {
            const auto& p = transport->getPosition();
            return s == Setting::tempo ? p.bpm : s == Setting::numerator ? p.timeSigNumerator : p.timeSigDenominator;
        }
    };

    const RangeCase rangeCases[] = {
        { Setting::tempo, 19.9f, false },       { Setting::tempo, 20.0f, true },
        { Setting::tempo, 999.0f, true },       { Setting::tempo, 999.5f, false },
        { Setting::tempo, -120.0f, false },
        { Setting::numerator, 0.0f, false },    { Setting::numerator, 1.0f, true },
        { Setting::numerator, 99.0f, true },    { Setting::numerator, 100.0f, false },
        { Setting::denominator, 0.0f, false },  { Setting::denominator, 1.0f, true },
        { Setting::denominator, 16.0f, true },  { Setting::denominator, 17.0f, false },
        { Setting::tempo, std::numeric_limits<float>::quiet_NaN(), false },
    };
}

TEST_P (AlxTransportRange, settingsOutsideTheirRangeNeverReachThePosition)
{
    const auto& c = GetParam();
    prepare();
    resendSettings();
    auto* p = parameter (c.setting);
    const float before = p->getRealValue();
    const double positionBefore = positionValue (c.setting);
    transport->setSampleCounter (1000.0);

    p->setRealValue (c.value, AlxMessageCode::fromEditor, false, true);
    AlxMessageLoop::deliverPending();
    runBlock();

    if (c.accepted)
    {
        EXPECT_EQ (p->getRealValue(), c.value);
        EXPECT_EQ (positionValue (c.setting), (double) c.value);
    }
    else
    {
        EXPECT_EQ (p->getRealValue(), before);
        EXPECT_EQ (positionValue (c.setting), positionBefore);
        EXPECT_EQ (transport->getSampleCounter(), 1000.0 + blockSize) << "a refused entry does not restart the clock";
    }
}

INSTANTIATE_TEST_SUITE_P (Cases, AlxTransportRange, ::testing::ValuesIn (rangeCases));
