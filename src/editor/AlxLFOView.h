#pragma once

#include "editor/AlxStatusView.h"

#include <vector>

class AlxLFOGroupModule;
class AlxLFOModule;

// The bar that holds the trigger's last firing: one column per beat, one box per step of the
// bar as high as the shown LFO's level at that step (filled for the step sounding now), and the
// LFO's curve across the bar. It shows the LFO selected for editing ("LFO" setting) and follows
// the transport's time signature.
class AlxLFOView : public AlxStatusView
{
public:
    explicit AlxLFOView (AlxEditor* editor);

    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    void refresh (bool skip) override;
    virtual AlxLFOGroupModule* getModule() const;
    // The LFO the "LFO" setting selects. Read from the setting itself, so a view told of the
    // change before the group has switched its links already shows the new one.
    virtual AlxLFOModule* getShownLfo() const;

    void paint (juce::Graphics& g) override;

    double getLastTrigger() const { return lastTrigger; }
    double getBarStart() const { return barStart; }
    double getBarEnd() const { return barEnd; }
    int getNumBeats() const;
    const std::vector<double>& getStepTimes() const { return stepTimes; }
    const std::vector<double>& getStepIntervals() const { return stepIntervals; }
    const std::vector<double>& getStepLevels() const { return stepLevels; }
    // The LFO's level every 1/32 quarter note of the bar, both ends included.
    const std::vector<double>& getCurve() const { return curve; }

    static constexpr double curveResolution = 1.0 / 32.0;

private:
    // Quarter notes of song time (grooved, as the trigger counts).
    double lastTrigger = 0.0;
    double barStart = 0.0;
    double barEnd = 0.0;
    double barLength = 0.0;
    double beatLength = 0.0;
    std::vector<double> stepTimes, stepIntervals, stepLevels, curve;
};
