#include "modules/AlxTriggerModule.h"

#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "modules/AlxArpModule.h"
#include "modules/AlxBlockTimeline.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxTransportModule.h"

#include <cmath>
#include <limits>

namespace
{
    constexpr double slicesPerQuarter = 128.0;

    // Room for the events of many firings of large chords, so that blocks never allocate.
    constexpr size_t outputReserveBytes = 32768;

    // The first multiple of step at or after from, as long as it lies before to. The quotient
    // from / step may round across a whole number; the multiple is checked against from itself.
    bool firstMultipleIn (double from, double to, double step, double& time)
    {
        if (! (step > 0.0))
            return false;

        double multiple = std::ceil (from / step);

        if ((multiple - 1.0) * step >= from)
            multiple -= 1.0;
        else if (multiple * step < from)
            multiple += 1.0;

        time = multiple * step;
        return time < to;
    }
}

AlxTriggerModule::AlxTriggerModule (AlxModuleContainer* container_) : AlxModulatedModule (container_, moduleId) {}

AlxTriggerModule::~AlxTriggerModule()
{
    destroyContents();
}

void AlxTriggerModule::initialise()
{
    AlxModule::initialise();
    addPin<AlxPin<AlxMidiKeyboardCable>> (AlxPinBase::inputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::inputMark);
    addPin<AlxPin<AlxMidiCable>> (AlxPinBase::outputMark);
    registerInModuleMap();
    domainSet = std::make_unique<AlxTriggerDomainSet>();
    addModulatedParameters ({ { domainSet->getIntervalDomain(), "Mod-Step" },
                              { domainSet->getVelocityDomain(), "Mod-Velocity" },
                              { domainSet->getGateDomain(), "Mod-Gate" } });
    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
}

AlxGrooveModule* AlxTriggerModule::getGrooveModule() const
{
    return grooveModule.get (*this);
}

AlxArpModule* AlxTriggerModule::getArpModule() const
{
    return arpModule.get (*this);
}

void AlxTriggerModule::prepareToPlay (double, int)
{
    lastNoteSample = 0.0;
    lastNoteLength = 0;
    lastTriggerTime = 0.0;
    breakContinuity();

    if (auto* out = getMidiOutputPin()->getObject())
        out->ensureSize (outputReserveBytes);
}

void AlxTriggerModule::endSoundingNotes() const
{
    if (auto* output = findModuleOf<AlxMidiOutputModule>())
        output->setResetPending (true);
}

AlxMidiInputGroupModule* AlxTriggerModule::getMidiInputGroup() const
{
    return findModuleOf<AlxMidiInputGroupModule>();
}

float AlxTriggerModule::inputNoteVelocity() const
{
    auto* group = getMidiInputGroup();
    auto* input = group != nullptr ? group->getInputModule (0) : nullptr;
    return input != nullptr ? input->getLastNoteOnVelocity() : 0.0f;
}

double AlxTriggerModule::blockStartSampleOf (const AlxTransportModule& transport) const
{
    // On its own clock the transport's sample count is exact, where ppq x samples per quarter
    // would be off by rounding.
    const auto& position = transport.getPosition();
    const double counter = transport.getSampleCounter();

    if (AlxBlockTimeline::quarterOfSample (counter, transport.getSampleRate(), position.bpm) == position.ppqPosition)
        return counter;

    return std::floor (position.ppqPosition * transport.getSamplesPerQuarter() + AlxBlockTimeline::absorbedSamples);
}

void AlxTriggerModule::processBlockBody (int numSamples)
{
    auto* out = getMidiOutputPin()->getObject();

    if (out != nullptr)
        out->clear();

    auto* held = getKeyboardInputPin()->getObject();
    auto* transport = getTransport();

    if (out == nullptr || held == nullptr || ! transport->isPlaying())
    {
        breakContinuity();
        return;
    }

    triggerBlock (*held, inputNoteVelocity(), *out, blockStartSampleOf (*transport), numSamples);
}

AlxTriggerModule::Readings AlxTriggerModule::currentReadings() const
{
    return { readingOf (stepId), readingOf (velocityId), readingOf (gateId) };
}

AlxTriggerModule::BlockSettings& AlxTriggerModule::blockSettings()
{
    const auto* transport = getTransport();
    const int numerator = transport->getNumerator();
    const int denominator = transport->getDenominator();
    const auto read = [&] { return BlockSettings { currentReadings(), getGrooveModule()->currentSettings(), numerator, denominator }; };
    auto* s = &settingsOfBlocks.get (read);

    if (s->numerator != numerator || s->denominator != denominator)
    {
        settingsOfBlocks.forget();
        return settingsOfBlocks.get (read);
    }

    for (auto* reading : { &s->readings.step, &s->readings.velocity, &s->readings.gate,
                           &s->groove.pattern, &s->groove.amount, &s->groove.width })
        reading->forgetLastLook();

    return *s;
}

bool AlxTriggerModule::sliceFiring (double sliceStart, const AlxLFOGroupModule::Reading& stepReading, double& time,
                                    double& interval) const
{
    const double sliceEnd = sliceStart + 1.0 / slicesPerQuarter;
    const double step = stepReading.at (sliceStart)->getRealValue();

    if (firstMultipleIn (sliceStart, sliceEnd, step, time))
    {
        interval = step;
        return true;
    }

    // The step valid at the slice's last moment, when it differs.
    const double endStep = stepReading.at (sliceEnd - 1.0 / (slicesPerQuarter * 1000.0))->getRealValue();

    if (endStep != step && firstMultipleIn (sliceStart, sliceEnd, endStep, time))
    {
        interval = endStep;
        return true;
    }

    return false;
}

template <typename Fire>
void AlxTriggerModule::scanGrid (double from, double to, const Readings& readings, Fire&& fire) const
{
    if (! std::isfinite (from) || ! std::isfinite (to))
        return;

    // Slices lie on multiples of 1/128 from time 0, whatever range is asked for, so a slice cut
    // by a block boundary fires exactly as it would whole, in the part that holds its firing.
    for (double slice = std::floor (from * slicesPerQuarter) / slicesPerQuarter; slice < to;
         slice += 1.0 / slicesPerQuarter)
    {
        double time = 0.0, interval = 0.0;

        if (sliceFiring (slice, readings.step, time, interval) && time >= from && time < to)
            fire (time, interval);
    }
}

void AlxTriggerModule::findTriggerTimes (double from, double to, std::vector<double>& times,
                                         std::vector<double>& intervals) const
{
    times.clear();
    intervals.clear();

    scanGrid (from, to, currentReadings(), [&] (double time, double interval)
    {
        times.push_back (time);
        intervals.push_back (interval);
    });
}

void AlxTriggerModule::triggerBlock (const juce::MidiKeyboardState& held, float inputVelocity, juce::MidiBuffer& out,
                                     double blockStartSample, int numSamples)
{
    auto* transport = getTransport();
    const auto& position = transport->getPosition();
    const double sampleRate = transport->getSampleRate();
    const double samplesPerQuarter = transport->getSamplesPerQuarter();

    if (numSamples <= 0 || ! (samplesPerQuarter > 0.0) || ! std::isfinite (samplesPerQuarter)
        || ! std::isfinite (position.ppqPosition) || ! std::isfinite (blockStartSample))
    {
        breakContinuity();
        return;
    }

    const bool counted = AlxBlockTimeline::quarterOfSample (blockStartSample, sampleRate, position.bpm) == position.ppqPosition;

    // A host may start the next block a rounding error away from where the last one ended; it
    // continues that block all the same, so no grid point at the boundary fires twice or never.
    double startQuarter = position.ppqPosition;
    const bool continues = continuing && std::abs (startQuarter - lastBlockEnd) <= 1.0e-3 / samplesPerQuarter;

    if (continues)
        startQuarter = lastBlockEnd;

    // An external MIDI clock corrects the position a little now and then; the song goes on, so
    // the grid points already fired stay fired and those skipped fire at the block's start.
    const bool corrected = continuing && ! continues && transport->wasRealigned();

    // Any other move of the position while playing (a song position pointer, a start, a host's
    // loop, a new tempo) is a jump: the sounding notes belong to the old position and end before
    // the notes of the new one.
    if (continuing && ! continues && ! corrected)
        endSoundingNotes();

    auto& settings = blockSettings();
    const AlxBlockTimeline timeline (*getGrooveModule(), settings.groove, blockStartSample, startQuarter, sampleRate,
                                     position.bpm, counted);
    const auto blockStart = timeline.at (0);
    const auto blockEnd = timeline.at (numSamples);

    // While blocks follow each other, the scan goes on where it stopped: a grid point fires once
    // even if the groove settings moved grooved time back between the blocks.
    const double from = continues || corrected ? lastScanEnd : blockStart.grooved;
    const double to = blockEnd.grooved;
    continuing = true;
    lastBlockEnd = timeline.quarterAt (numSamples);
    lastScanEnd = juce::jmax (from, to);
    currentBlockStart = blockStartSample;

    auto* arp = getArpModule();
    const float velocityFactor = inputVelocity * 0.5f + 0.5f;
    bool fired = false;

    const auto& readings = settings.readings;

    scanGrid (from, to, readings, [&] (double time, double interval)
    {
        fired = true;
        const float velocity = (float) readings.velocity.at (time)->getRealValue() * velocityFactor;
        const double noteEnd = time + readings.gate.at (time)->getRealValue() * interval;
        const auto noteOn = timeline.lastNotPast (time, blockStart, blockEnd);
        const auto noteOff = timeline.lastNotPast (noteEnd, noteOn, timeline.beyond (noteEnd));
        lastNoteLength = (int) juce::jlimit ((juce::int64) 0, (juce::int64) std::numeric_limits<int>::max(),
                                             noteOff.offset - noteOn.offset);
        lastTriggerTime = time;
        lastNoteSample = blockStartSample + (double) noteOn.offset;
        arp->applyMask (held, maskedNotes, time);
        arp->applyDoubling (maskedNotes, firedNotes, time);
        emitNotes (firedNotes, velocity, out, lastNoteSample, lastNoteLength);
    });

    if (fired)
        transport->getStateParameter()->post (AlxTransportModule::notesTriggered);
}

void AlxTriggerModule::emitNotes (const juce::MidiKeyboardState& notes, float velocity, juce::MidiBuffer& out,
                                  double noteSample, int noteLength) const
{
    if (noteLength <= 0)
        return;

    const int offset = (int) (noteSample - currentBlockStart + AlxBlockTimeline::absorbedSamples);
    const int offOffset = (int) juce::jmin ((juce::int64) offset + noteLength, (juce::int64) std::numeric_limits<int>::max());

    for (int note = 0; note < 128; ++note)
    {
        if (notes.isNoteOnForChannels (0xffff, note))
        {
            out.addEvent (juce::MidiMessage::noteOn (1, note, velocity), offset);
            out.addEvent (juce::MidiMessage::noteOff (1, note), offOffset);
        }
    }
}
