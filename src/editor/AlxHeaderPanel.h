#pragma once

#include "editor/AlxPanel.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

class AlxDrawableButton;
class AlxHelpModule;
class AlxLabel;
class AlxModule;
class AlxParameter;
class AlxParamCombo;
class AlxProgramModule;
class AlxTransportModule;

// The strip across the top of the editor: the preset selector, stop and start buttons, tempo,
// time signature and song position, and the file and help menus. It also carries out the preset
// commands (load and save banks and presets, rename) posted on the program module's event
// parameter, whoever posted them: its own file menu or the application's File menu.
//
// Tempo and signature are edited by typing into their labels while the transport runs its own
// clock; a host that drives the clock makes them read-only. Input the transport refuses snaps
// back to the transport's values.
class AlxHeaderPanel : public AlxPanel,
                       public juce::Button::Listener,
                       public juce::Label::Listener
{
public:
    // Items of the file and help menus.
    enum MenuItem
    {
        loadBankItem = 110,
        loadPresetItem = 111,
        saveBankItem = 120,
        savePresetItem = 121,
        renamePresetItem = 130,
        helpItem = 210,
        productHomeItem = 220,
        onlineManualItem = 230,
        latestUpdatesItem = 240,
        aboutItem = 260
    };

    explicit AlxHeaderPanel (AlxEditor* editor);
    ~AlxHeaderPanel() override;

    virtual void refreshTransportDisplay();
    virtual void refreshStartButton();
    // The indicator is lit red by whoever wants attention; transport news puts it out.
    virtual void resetIndicator();
    virtual void renamePreset();
    virtual void savePresetFile();
    virtual void loadPresetFile();
    virtual void saveBankFile();
    virtual void loadBankFile();
    // Where the preset dialogs start for files of this extension (".fxb", ".fxp"): the file used
    // last, or a new "untitled" file in the preset folder when none was used yet.
    virtual juce::String getLastUsedFile (const juce::String& extension);
    virtual void setLastUsedFile (const juce::String& path);
    virtual AlxTransportModule* getTransport() const;
    virtual AlxProgramModule* getProgramModule() const;
    virtual AlxHelpModule* getHelpModule() const;

    int getPreferredWidth() override { return 800; }
    int getPreferredHeight() override;
    void resized() override;
    void paint (juce::Graphics& g) override;
    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    void buttonClicked (juce::Button* button) override;
    void labelTextChanged (juce::Label* label) override;

    // The property key of the last used file of an extension ("lastUsedFileNameWinfxb").
    static juce::String lastUsedFileKey (const juce::String& extension);

    static constexpr int flashIntervalMs = 500;

private:
    AlxDrawableButton* addButton (const juce::String& name, const juce::Drawable* image, const juce::String& tooltip);
    AlxLabel* addLabel (const juce::String& name, const juce::String& text, const juce::String& tooltip);
    juce::PopupMenu createFileMenu() const;
    juce::PopupMenu createHelpMenu() const;
    // Posts a command kind (reason 6) on a module's event parameter.
    static void postCommand (AlxModule* module, int kind);
    // Shows the menu at the button and posts on the module the command kind paired with the
    // chosen item ({ item, kind } pairs); nothing when the menu is dismissed.
    void runCommandMenu (juce::PopupMenu menu, AlxDrawableButton& button, AlxModule* module,
                         std::initializer_list<std::pair<int, int>> commands);
    // Sets a transport parameter from typed text under its lock; refused values post a message
    // that brings the label back to the transport's value.
    static void setTyped (AlxParameter* parameter, float value);

    // The four preset dialogs: ask for a file, run the action on the root module, remember the
    // file on success and say so on failure.
    using FileAction = std::function<bool (AlxModule& root, int program, const juce::File& file)>;
    void runFileDialog (bool saving, const juce::String& dialogTitle, const juce::String& extension,
                        const juce::String& failureMessage, const FileAction& action);

    std::unique_ptr<juce::Drawable> stopImage, startImage, diskImage, infoImage;
    AlxParamCombo* programCombo = nullptr;
    AlxDrawableButton* stopButton = nullptr;
    AlxDrawableButton* startButton = nullptr;
    AlxDrawableButton* fileButton = nullptr;
    AlxDrawableButton* helpButton = nullptr;
    AlxLabel* bpmLabel = nullptr;
    AlxLabel* timeSignatureLabel = nullptr;
    AlxLabel* songPositionLabel = nullptr;
    AlxLabel* indicatorLabel = nullptr;

    JUCE_DECLARE_NON_COPYABLE (AlxHeaderPanel)
};
