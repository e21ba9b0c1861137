#pragma once

#include "editor/AlxPanel.h"

#include <memory>
#include <vector>

class AlxParamControl;
class AlxParameter;

// The base of module panels: flows its children left to right in rows, starting right of the
// icon gutter. Its preferred height is what the flow needs at its preferred width.
class AlxParamPanel : public AlxPanel
{
public:
    // The icon, if any, is the panel's own: drawn in the gutter and deleted with the panel.
    AlxParamPanel (AlxEditor* owner, const juce::String& panelTitle, int width,
                   std::unique_ptr<juce::Drawable> ownIcon = nullptr);
    ~AlxParamPanel() override;

    // Places (unless measureOnly) the children in rows of the given width; returns the height used.
    virtual int layoutChildren (int width, bool measureOnly);
    // Appends a spacer, view or any other panel to the flow.
    virtual void addChild (AlxPanel* child);
    // Creates the control the parameter's domain asks for (list, range, radio or on/off), binds
    // it and appends it to the flow; returns it. Numeric domains (edited elsewhere) and a null
    // parameter get no control. A width of 0 selects the control's default.
    virtual AlxParamControl* addParameter (AlxParameter* parameter, int labelWidth, int fieldWidth);
    // Binds the control at that position of the flow to another parameter (the other module's
    // settings, another program); other children and positions outside the flow are left alone.
    virtual void rebindParameter (AlxParameter* parameter, int index);

    int getPreferredHeight() override;
    void resized() override;

    const std::vector<AlxPanel*>& getFlowChildren() const { return children; }

    // Where rows start: right of the icon gutter.
    static constexpr int rowStart = 42;

private:
    std::vector<AlxPanel*> children;
    std::unique_ptr<juce::Drawable> ownIcon;
};
