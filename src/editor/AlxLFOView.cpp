#include "editor/AlxLFOView.h"

#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"

#include <cmath>

namespace
{
    // The plot leaves this margin on every side of the view.
    constexpr int margin = 15;
}

AlxLFOView::AlxLFOView (AlxEditor* owner)
    : AlxStatusView (owner, 292, 142)
{
    observeModule (getModule());
    refresh (false);
}

AlxLFOGroupModule* AlxLFOView::getModule() const
{
    return findModuleOf<AlxLFOGroupModule>();
}

AlxLFOModule* AlxLFOView::getShownLfo() const
{
    auto* group = getModule();
    if (group == nullptr)
        return nullptr;
    auto* selection = group->getSelectedLfoParameter();
    if (selection == nullptr)
        return group->getSelectedLfo();

    int index = 0;
    {
        const juce::ScopedLock sl (selection->getLock());
        index = (int) selection->getValue()->getRealValue();
    }
    auto* lfo = group->getLfo (index);
    return lfo != nullptr ? lfo : group->getSelectedLfo();
}

bool AlxLFOView::handlePanelMessage (void* source, int code, std::uint32_t timeMs)
{
    return refreshOnEveryMessage (source, code, timeMs);
}

int AlxLFOView::getNumBeats() const
{
    return beatLength > 0.0 ? (int) (barLength / beatLength) : 0;
}

void AlxLFOView::refresh (bool skip)
{
    auto* trigger = getTriggerModule();
    auto* transport = getTransport();
    if (skip || trigger == nullptr || transport == nullptr)
        return;

    AlxTransportPosition position;
    int bar = 0, beat = 0;
    bool hostDriven = false;
    transport->getPositionSnapshot (position, bar, beat, hostDriven);
    const int numerator = juce::jmax (1, position.timeSigNumerator);
    const int denominator = juce::jmax (1, position.timeSigDenominator);

    lastTrigger = trigger->getLastTriggerTime();
    beatLength = 4.0 / denominator;
    barLength = beatLength * numerator;
    barStart = barLength * std::floor (lastTrigger / barLength);
    barEnd = barStart + barLength;
    trigger->findTriggerTimes (barStart, barEnd, stepTimes, stepIntervals);

    if (auto* lfo = getShownLfo())
    {
        auto& generator = lfo->getGenerator();
        const juce::ScopedLock sl (generator.getLock());
        generator.setTimeSignature (numerator, denominator, false);
        generator.getValues (stepTimes, stepLevels);
        generator.sample (barStart, barEnd, curveResolution, curve, true);
    }
    else
    {
        stepLevels.assign (stepTimes.size(), 0.0);
        curve.clear();
    }
    repaint();
}

void AlxLFOView::paint (juce::Graphics& g)
{
    AlxPanel::paint (g);
    const auto text = getTextColour();
    const auto dim = getDimColour();
    const float plotWidth = (float) (getWidth() - 2 * margin);
    const int plotHeight = getHeight() - 2 * margin;
    const float left = (float) margin, top = (float) margin;
    const float right = plotWidth + margin + 1, bottom = (float) (plotHeight + margin);

    g.setColour (dim);
    const int beats = getNumBeats();
    for (int i = 0; i < beats; ++i)
    {
        const float x = left + (float) i * plotWidth / (float) beats;
        g.drawLine (x, top, x, bottom, 1.0f);
    }
    g.drawLine (left, top, right, top, 1.0f);
    g.drawLine (left, bottom, right, bottom, 1.0f);
    g.drawLine (right, top, right, bottom, 1.0f);

    if (barEnd > barStart)
    {
        // Pixels per quarter note.
        const double scale = plotWidth / (barEnd - barStart);
        for (size_t k = 0; k < stepTimes.size() && k < stepLevels.size() && k < stepIntervals.size(); ++k)
        {
            const double t = stepTimes[k], interval = stepIntervals[k];
            const int boxTop = (int) ((1.0 - stepLevels[k]) * plotHeight);
            const int h = plotHeight - boxTop + 1;
            const int x = (int) ((t - barStart) * scale + margin);
            const int w = (int) (scale * interval + 1.0);
            g.setColour (text);
            if (t <= lastTrigger && lastTrigger < t + interval - 1e-8)
            {
                // The step sounding now, marked again just below the plot.
                g.fillRect (x, boxTop + margin, w, h);
                g.setColour (dim);
                g.fillRect (x, boxTop + h + margin + 2, w, 2);
            }
            else
            {
                g.drawRect (x, boxTop + margin, w, h, 1);
            }
        }
    }

    const auto n = curve.size();
    if (n < 2)
        return;
    g.setColour (dim.withAlpha (0.5f));
    const auto pointAt = [&] (size_t j)
    {
        return juce::Point<float> (left + (float) j * plotWidth / (float) (n - 1),
                                   top + (float) (1.0 - curve[j]) * (float) plotHeight);
    };
    for (size_t j = 0; j + 1 < n; ++j)
        g.drawLine ({ pointAt (j), pointAt (j + 1) }, 1.0f);
}
