#pragma once

#include "editor/AlxPanel.h"

#include <vector>

// The base of module panels: flows its children left to right in rows, starting right of the
// icon gutter. Its preferred height is what the flow needs at its preferred width.
class AlxParamPanel : public AlxPanel
{
public:
    AlxParamPanel (AlxEditor* owner, const juce::String& panelTitle, int width);

    // Places (unless measureOnly) the children in rows of the given width; returns the height used.
    virtual int layoutChildren (int width, bool measureOnly);
    // Appends a spacer, view or any other panel to the flow.
    virtual void addChild (AlxPanel* child);

    int getPreferredHeight() override;
    void resized() override;

    const std::vector<AlxPanel*>& getFlowChildren() const { return children; }

    // Where rows start: right of the icon gutter.
    static constexpr int rowStart = 42;

private:
    std::vector<AlxPanel*> children;
};
