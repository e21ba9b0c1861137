#pragma once

#include "editor/AlxPanel.h"

// An invisible panel that only takes space in a flow layout: a vertical gap when it breaks the
// row, a horizontal indent when it does not.
class AlxSpacer : public AlxPanel
{
public:
    AlxSpacer (int width, int height, bool breaksRow)
        : AlxPanel (nullptr, {}, width, height, breaksRow) {}

    void paint (juce::Graphics&) override {}
    void paintOverChildren (juce::Graphics&) override {}
};
