#pragma once

#include "editor/AlxDialogService.h"

// The dialogs as JUCE's windows, run modally on the message thread. The file choosers are JUCE's
// own browser rather than the desktop's: the same on every desktop, with a field that takes a
// typed path.
class AlxJuceDialogService : public AlxDialogService
{
public:
    void showMessage (Icon icon, const juce::String& title, const juce::String& message) override;
    bool confirm (Icon icon, const juce::String& title, const juce::String& message,
                  const juce::String& okText, const juce::String& cancelText) override;
    std::optional<juce::String> askForText (const TextRequest& request) override;
    std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& start,
                                                const juce::String& patterns) override;
    std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& proposed,
                                                const juce::String& patterns) override;
    void runModalDialog (const DialogOptions& options, juce::Component& content) override;
    void launchDialog (const DialogOptions& options, std::unique_ptr<juce::Component> content) override;
};
