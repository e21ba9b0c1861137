#pragma once

#include "editor/AlxDialogService.h"

#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: every question is recorded, and answered from a list the test fills in
// beforehand, first in first out (launched dialogs ask nothing and take no answer). A question with no answer left is cancelled (and counted, so a
// test can tell a dialog it did not expect). Install it for the whole program with
// AlxDialogService::ScopedDefault.
class AlxScriptedDialogService : public AlxDialogService
{
public:
    enum class Kind { message, confirmation, textInput, openFile, saveFile, modalDialog, launchedDialog };

    struct Request
    {
        Kind kind;
        Icon icon = Icon::none;
        juce::String title, message;
        juce::StringArray buttons;        // boxes and the text question, in order
        juce::String fieldName, text;     // the text question
        juce::File file;                  // file choosers: where they start or what they propose
        juce::String patterns;            // file choosers
        DialogOptions dialog;             // dialog windows
        juce::String contentName;         // dialog windows: the content's component name
        juce::Rectangle<int> contentBounds;
    };

    struct Answer
    {
        bool accept = true;               // first button, a chosen file, a closed dialog
        juce::String text;                // for the text question
        juce::File file;                  // for the file choosers
        // Runs while a dialog is open, on its content (for example to click inside it).
        std::function<void (juce::Component&)> whileOpen;
    };

    void answer (Answer next) { answers.push_back (std::move (next)); }
    void accept() { answer ({}); }
    void cancel() { answer ({ false, {}, {}, {} }); }
    void answerText (const juce::String& text) { answer ({ true, text, {}, {} }); }
    void answerFile (const juce::File& file) { answer ({ true, {}, file, {} }); }
    void whileOpen (std::function<void (juce::Component&)> action) { answer ({ true, {}, {}, std::move (action) }); }

    // Questions asked while no answer was left.
    int getNumUnanswered() const { return unanswered; }
    size_t getNumAnswersLeft() const { return answers.size(); }

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

    std::vector<Request> requests;
    // The contents of launched dialogs, kept (as their dialog would) until the service goes.
    std::vector<std::unique_ptr<juce::Component>> launched;

private:
    Answer next();
    std::optional<juce::File> chooseFile (Kind kind, const juce::String& title, const juce::File& file,
                                          const juce::String& patterns);
    Request& dialogRequest (Kind kind, const DialogOptions& options, juce::Component& content);

    std::deque<Answer> answers;
    int unanswered = 0;
};
