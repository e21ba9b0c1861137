#pragma once

#include "editor/AlxPanel.h"
#include "framework/AlxParameter.h"

#include <memory>

class AlxDrawableButton;

// Base of the controls that show one parameter and let the user change it. A control is a sink
// of its parameter and of that parameter's modulation source and redraws from their messages;
// user edits are written back with the editor's reason and shown at once.
//
// Everything here runs on the message thread. The parameter may change at the same time on the
// audio or a host thread, so every read and write of it (and of its modulation source) happens
// under the parameter's lock, held for one refresh or one edit.
class AlxParamControl : public AlxPanel
{
public:
    explicit AlxParamControl (AlxEditor* editor);
    // Unbinds, so no message queued for the parameter reaches the deleted control.
    ~AlxParamControl() override;

    virtual AlxParameter* getParameter() const { return parameter; }
    // Rebuilds everything that depends on the domain and the parameter's name.
    virtual void refreshItems (bool reselect) = 0;
    // Shows the current value and the enabled state.
    virtual void refreshValue() = 0;
    // Shows whether the parameter is assigned to the mouse wheel.
    virtual void refreshFocused() {}
    virtual void setLayoutStyle (int style) { layoutStyle = style; }
    virtual int getLayoutStyle() const { return layoutStyle; }
    // Called at the end of every setParameter.
    virtual void parameterAttached() {}
    // Binds the control to a parameter (null unbinds). A parameter over the same domain as the
    // one bound before keeps the item list; only value and flags are refreshed.
    virtual void setParameter (AlxParameter* newParameter);

    int getPreferredWidth() override = 0;
    int getPreferredHeight() override = 0;

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

    AlxParameter* getModulationSource() const { return modulationSource; }

    // The line written when a position chosen in the control names no value of the domain any
    // more: the control's list is older than the domain, whose change message is still queued.
    static juce::String overflowLine (const juce::String& controlClass);

    // Buttons of a control touch their neighbours on every side.
    static constexpr int allEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                             | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;

protected:
    // An image of the editor's icon archive; null when it is missing.
    static std::unique_ptr<juce::Drawable> loadIcon (const juce::String& entryName);
    // A child image button connected on all edges (it copies the image, which may be null).
    AlxDrawableButton* addIconButton (const juce::String& name, const juce::Drawable* image, bool togglesOnClick,
                                      const juce::String& tooltip, juce::Button::Listener* listener);

    // Writes the value back with the editor's reason and shows it at once. Nothing happens
    // when no parameter is bound or the value is null.
    void writeBack (AlxValue* value);
    // Writes back the value at a position of the domain's list; a position outside it drops the
    // edit and writes the overflow line for this control class.
    void writePosition (int position, const juce::String& controlClass);
    // The mouse-wheel and modulation buttons of combos and rotaries.
    AlxDrawableButton* addWheelButton (const juce::Drawable* image, juce::Button::Listener* listener);
    AlxDrawableButton* addModulationButton (const juce::Drawable* image, const juce::String& tooltip,
                                            juce::Button::Listener* listener);
    // Carries out a click on one of those two buttons; false for any other button.
    bool handleWheelOrModulationClick (juce::Button* clicked, juce::Button& wheelButton, juce::Button& modulationButton);
    // Lights the wheel button while the parameter is assigned to the mouse wheel.
    void showWheelAssignment (juce::Button& wheelButton) const;
    // Lights the modulation button while a modulation source other than "None" drives the
    // parameter, and returns whether one does: the user cannot edit the value by hand then.
    bool showModulation (juce::Button& modulationButton) const;
    bool hasModulationSource() const { return modulationSource != nullptr; }

private:
    // A program change re-points a program parameter at another program's parameter, which has
    // a modulation source of its own: follow it, so the menu and the lock-out stay with the
    // program shown.
    void followModulationSource();
    // Assigns the parameter to the mouse wheel, or takes it away.
    void setWheelAssigned (bool assigned);
    bool isModulated() const;
    // Offers the modulation source's values in a menu at the button and sets the one chosen.
    void chooseModulationSource (juce::Component& button);

    AlxParameter* parameter = nullptr;
    AlxParameter* modulationSource = nullptr;
    int layoutStyle = 4;

    JUCE_DECLARE_NON_COPYABLE (AlxParamControl)
};
