#pragma once

#include "editor/AlxParamPanel.h"

class AlxMidiInputGroupModule;
class AlxMidiOutputGroupModule;

// The "Midi" panel: where the held notes come from (source, channel, demo track) and where the
// generated notes go (destination, channel). It opens the "Midi Settings" dialog, in which the
// user enables MIDI devices, when the command 0x0A06 arrives: "Configure..." in a device list,
// or "Midi Settings..." in the application's menu. Closing the dialog rebuilds the device lists.
class AlxMidiPanel : public AlxParamPanel
{
public:
    AlxMidiPanel (AlxEditor* editor, int width);
    ~AlxMidiPanel() override;

    virtual AlxMidiInputGroupModule* getMidiInputGroup() const;
    virtual AlxMidiOutputGroupModule* getMidiOutputGroup() const;
    // Shows the dialog and waits until it is closed; does nothing while it is already open.
    virtual void showMidiSettingsDialog();

    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;

    static constexpr int labelWidth = 45;
    static constexpr int fieldWidth = 140;

private:
    // The domains, groups, modules and parameters this panel listens to.
    void listen (bool start);

    bool dialogOpen = false;

    JUCE_DECLARE_NON_COPYABLE (AlxMidiPanel)
};
