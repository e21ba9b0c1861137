#include "support/AlxScriptedDialogService.h"

AlxScriptedDialogService::Answer AlxScriptedDialogService::next()
{
    if (answers.empty())
    {
        ++unanswered;
        return { false, {}, {}, {} };
    }

    auto answer = std::move (answers.front());
    answers.pop_front();
    return answer;
}

void AlxScriptedDialogService::showMessage (Icon icon, const juce::String& title, const juce::String& message)
{
    requests.push_back ({ Kind::message, icon, title, message, { "OK" }, {}, {}, {}, {}, {}, {}, {} });
    next();
}

bool AlxScriptedDialogService::confirm (Icon icon, const juce::String& title, const juce::String& message,
                                        const juce::String& okText, const juce::String& cancelText)
{
    requests.push_back ({ Kind::confirmation, icon, title, message, { okText, cancelText }, {}, {}, {}, {}, {}, {}, {} });
    return next().accept;
}

std::optional<juce::String> AlxScriptedDialogService::askForText (const TextRequest& request)
{
    requests.push_back ({ Kind::textInput, request.icon, request.title, request.message,
                          { request.okText, request.cancelText }, request.fieldName, request.text, {}, {}, {}, {}, {} });
    const auto answer = next();
    return answer.accept ? std::optional<juce::String> (answer.text) : std::nullopt;
}

std::optional<juce::File> AlxScriptedDialogService::chooseFile (Kind kind, const juce::String& title,
                                                                const juce::File& file, const juce::String& patterns)
{
    requests.push_back ({ kind, Icon::none, title, {}, {}, {}, {}, file, patterns, {}, {}, {} });
    const auto answer = next();
    return answer.accept ? std::optional<juce::File> (answer.file) : std::nullopt;
}

std::optional<juce::File> AlxScriptedDialogService::chooseFileToOpen (const juce::String& title, const juce::File& start,
                                                                      const juce::String& patterns)
{
    return chooseFile (Kind::openFile, title, start, patterns);
}

std::optional<juce::File> AlxScriptedDialogService::chooseFileToSave (const juce::String& title, const juce::File& proposed,
                                                                      const juce::String& patterns)
{
    return chooseFile (Kind::saveFile, title, proposed, patterns);
}

AlxScriptedDialogService::Request& AlxScriptedDialogService::dialogRequest (Kind kind, const DialogOptions& options,
                                                                           juce::Component& content)
{
    requests.push_back ({ kind, Icon::none, options.title, {}, {}, {}, {}, {}, {}, options,
                          content.getName(), content.getBounds() });
    return requests.back();
}

void AlxScriptedDialogService::runModalDialog (const DialogOptions& options, juce::Component& content)
{
    dialogRequest (Kind::modalDialog, options, content);

    if (auto answer = next(); answer.whileOpen)
        answer.whileOpen (content);
}

void AlxScriptedDialogService::launchDialog (const DialogOptions& options, std::unique_ptr<juce::Component> content)
{
    // A launched dialog asks nothing: it stays open after the call, and the test finds its
    // content among the launched ones.
    dialogRequest (Kind::launchedDialog, options, *content);
    launched.push_back (std::move (content));
}
