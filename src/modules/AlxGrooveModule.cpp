#include "modules/AlxGrooveModule.h"

#include "modules/AlxBlockTimeline.h"
#include "modules/AlxTransportModule.h"

#include <algorithm>
#include <cmath>

AlxGrooveModule::AlxGrooveModule (AlxModuleContainer* container_) : AlxModulatedModule (container_, moduleId) {}

AlxGrooveModule::~AlxGrooveModule()
{
    destroyContents();
}

void AlxGrooveModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    domainSet = std::make_unique<AlxGrooveDomainSet>();
    addModulatedParameters ({ { domainSet->getPatternDomain(), "Mod-Beats" },
                              { domainSet->getAmountDomain(), "Mod-Groove" },
                              { domainSet->getWidthDomain(), "Mod-Width" } });
    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
}

AlxGrooveModule::Settings AlxGrooveModule::currentSettings() const
{
    const auto* transport = getTransport();
    return { readingOf (patternId), readingOf (amountId), readingOf (widthId),
             juce::jmax (1, transport->getNumerator()), 4.0 / juce::jmax (1, transport->getDenominator()) };
}

double AlxGrooveModule::steadyUntil (double t, const Settings& settings) const
{
    return std::min ({ settings.pattern.steadyUntil (t), settings.amount.steadyUntil (t), settings.width.steadyUntil (t) });
}

double AlxGrooveModule::warp (double t, const Settings& settings) const
{
    if (! std::isfinite (t))
        return t;

    const int numerator = settings.numerator;
    const double beatLength = settings.beatLength;

    // The nearest beat; a time halfway between two beats belongs to the later one.
    double beatNumber = std::floor (t / beatLength);
    double beat = beatNumber * beatLength;

    if (! (beat + beatLength - t > t - beat))
    {
        beat += beatLength;
        beatNumber += 1.0;
    }

    // The beat's place in its bar, counted from the bar start also before the song start.
    const double inBar = beatNumber - numerator * std::floor (beatNumber / numerator);
    const int pattern = (int) settings.pattern.at (t)->getRealValue();

    if (((pattern >> ((int) inBar % 32)) & 1) == 0)
        return t;

    // The zone ends halfway to the neighbouring beats at the latest, so the mapping stays
    // continuous where a selected beat meets one that is not; the shift never exceeds the
    // zone's half-width, so it never runs backwards.
    double shift = settings.amount.at (t)->getRealValue() * 0.5;
    const double halfWidth = juce::jmin (settings.width.at (t)->getRealValue() * 0.5, beatLength * 0.5);

    if (std::abs (shift) > halfWidth)
        shift = shift >= 0.0 ? halfWidth : -halfWidth;

    const double distance = std::abs (t - beat);

    if (halfWidth <= 0.0 || distance > halfWidth)
        return t;

    return t - (1.0 - distance / halfWidth) * shift;
}

double AlxGrooveModule::warpedSamplePosition() const
{
    // Floating-point error must not put a position a sample short.
    const auto* transport = getTransport();
    const double samples = warp (transport->getPosition().ppqPosition) * transport->getSamplesPerQuarter();
    return std::floor (samples + AlxBlockTimeline::absorbedSamples);
}
