#pragma once

#include "framework/AlxScopedDefault.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

// The dialogs the program asks the user through: message and confirmation boxes, a text question
// (renaming), file choosers and dialog windows around a component of ours. Every call runs on the
// message thread. The program's own service shows JUCE's windows (AlxJuceDialogService); tests
// put a scripted one in its place, which answers from a list and records what was asked.
class AlxDialogService
{
public:
    enum class Icon { none, info, warning, question };

    // A question answered by typing: a box with a message, one text field and two buttons.
    struct TextRequest
    {
        juce::String title, message;
        Icon icon = Icon::question;
        juce::String fieldName;   // component name of the text field
        juce::String text;        // what the field holds at first
        juce::String okText;      // chosen with the return key
        juce::String cancelText;  // chosen with the escape key
    };

    // A dialog window around a component.
    struct DialogOptions
    {
        juce::String title;
        juce::Colour background;
        juce::Component* centreAround = nullptr; // null: the screen's centre
        bool escapeKeyCloses = true;
        bool nativeTitleBar = true;
        bool resizable = false;
    };

    virtual ~AlxDialogService() = default;

    // A modal box with the message and an "OK" button.
    virtual void showMessage (Icon icon, const juce::String& title, const juce::String& message) = 0;

    // A modal box with two buttons; true when the first (okText) was chosen.
    virtual bool confirm (Icon icon, const juce::String& title, const juce::String& message,
                          const juce::String& okText, const juce::String& cancelText) = 0;

    // The text as the user left it, or nothing when cancelled.
    virtual std::optional<juce::String> askForText (const TextRequest& request) = 0;

    // Modal file choosers showing the files matching the patterns (e.g. "*.fxb"); nothing when
    // cancelled. Opening starts in the given folder (or the folder of the given file); saving
    // proposes the given file and asks before overwriting an existing one.
    virtual std::optional<juce::File> chooseFileToOpen (const juce::String& title, const juce::File& start,
                                                        const juce::String& patterns) = 0;
    virtual std::optional<juce::File> chooseFileToSave (const juce::String& title, const juce::File& proposed,
                                                        const juce::String& patterns) = 0;

    // Shows the content in a modal dialog and returns when the dialog is closed. The caller keeps
    // the content.
    virtual void runModalDialog (const DialogOptions& options, juce::Component& content) = 0;

    // Shows the content in a dialog and returns at once; the dialog owns the content.
    virtual void launchDialog (const DialogOptions& options, std::unique_ptr<juce::Component> content) = 0;

    // The service the program uses: JUCE's, unless a ScopedDefault stands in for it.
    static AlxDialogService& getDefault();
    using ScopedDefault = AlxScopedDefault<AlxDialogService>;
};
