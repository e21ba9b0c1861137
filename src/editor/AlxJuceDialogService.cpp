#include "editor/AlxJuceDialogService.h"

namespace
{
    juce::MessageBoxIconType iconType (AlxDialogService::Icon icon)
    {
        switch (icon)
        {
            case AlxDialogService::Icon::info:     return juce::MessageBoxIconType::InfoIcon;
            case AlxDialogService::Icon::warning:  return juce::MessageBoxIconType::WarningIcon;
            case AlxDialogService::Icon::question: return juce::MessageBoxIconType::QuestionIcon;
            case AlxDialogService::Icon::none:     break;
        }

        return juce::MessageBoxIconType::NoIcon;
    }

    void configure (juce::DialogWindow::LaunchOptions& launch, const AlxDialogService::DialogOptions& options)
    {
        launch.dialogTitle = options.title;
        launch.dialogBackgroundColour = options.background;
        launch.componentToCentreAround = options.centreAround;
        launch.escapeKeyTriggersCloseButton = options.escapeKeyCloses;
        launch.useNativeTitleBar = options.nativeTitleBar;
        launch.resizable = options.resizable;
    }

    std::optional<juce::File> chosen (bool confirmed, const juce::FileChooser& chooser)
    {
        if (! confirmed || chooser.getResult() == juce::File())
            return std::nullopt;

        return chooser.getResult();
    }

    constexpr bool useDesktopChooser = false;
}

void AlxJuceDialogService::showMessage (Icon icon, const juce::String& title, const juce::String& message)
{
    juce::AlertWindow::showMessageBox (iconType (icon), title, message);
}

bool AlxJuceDialogService::confirm (Icon icon, const juce::String& title, const juce::String& message,
                                    const juce::String& okText, const juce::String& cancelText)
{
    return juce::AlertWindow::showOkCancelBox (iconType (icon), title, message, okText, cancelText, nullptr, nullptr);
}

std::optional<juce::String> AlxJuceDialogService::askForText (const TextRequest& request)
{
    juce::AlertWindow window (request.title, request.message, iconType (request.icon));
    window.addTextEditor (request.fieldName, request.text, {});
    window.addButton (request.okText, 1, juce::KeyPress (juce::KeyPress::returnKey));
    window.addButton (request.cancelText, 0, juce::KeyPress (juce::KeyPress::escapeKey));

    if (window.runModalLoop() != 1)
        return std::nullopt;

    return window.getTextEditorContents (request.fieldName);
}

std::optional<juce::File> AlxJuceDialogService::chooseFileToOpen (const juce::String& title, const juce::File& start,
                                                                  const juce::String& patterns)
{
    juce::FileChooser chooser (title, start, patterns, useDesktopChooser);
    return chosen (chooser.browseForFileToOpen(), chooser);
}

std::optional<juce::File> AlxJuceDialogService::chooseFileToSave (const juce::String& title, const juce::File& proposed,
                                                                  const juce::String& patterns)
{
    juce::FileChooser chooser (title, proposed, patterns, useDesktopChooser);
    return chosen (chooser.browseForFileToSave (true), chooser);
}

void AlxJuceDialogService::runModalDialog (const DialogOptions& options, juce::Component& content)
{
    juce::DialogWindow::LaunchOptions launch;
    configure (launch, options);
    launch.content.setNonOwned (&content);
    launch.runModal();
}

void AlxJuceDialogService::launchDialog (const DialogOptions& options, std::unique_ptr<juce::Component> content)
{
    juce::DialogWindow::LaunchOptions launch;
    configure (launch, options);
    launch.content.setOwned (content.release());
    launch.launchAsync();
}
