#include "standalone/MainAppWindow.h"

#include "core/AlxProgramModule.h"
#include "editor/AlxDialogService.h"
#include "editor/AlxHelpModule.h"
#include "framework/AlxMessageCode.h"
#include "framework/AlxModuleContainer.h"
#include "framework/AlxParameter.h"
#include "midi/AlxMidiInputGroupModule.h"

namespace
{
    // The help module's kind that no help action is assigned to.
    constexpr int unassignedHelpCommand = 22;

    struct MenuEntry
    {
        int itemId;      // 0: separator
        const char* text;
    };

    const std::vector<std::vector<MenuEntry>> menus {
        { { MainAppWindow::loadBankItem, "Load Preset Bank..." }, { MainAppWindow::loadPresetItem, "Load Preset..." },
          { 0, nullptr },
          { MainAppWindow::saveBankItem, "Save Preset Bank As..." }, { MainAppWindow::savePresetItem, "Save Preset As..." },
          { 0, nullptr },
          { MainAppWindow::renamePresetItem, "Rename Preset..." },
          { 0, nullptr },
          { MainAppWindow::exitItem, "Exit" } },
        { { MainAppWindow::audioSettingsItem, "Audio Settings..." }, { MainAppWindow::midiSettingsItem, "Midi Settings..." },
          { 0, nullptr },
          { MainAppWindow::restoreDefaultsItem, "Restore Defaults" } },
        { { MainAppWindow::helpItem, "Help..." },
          { 0, nullptr },
          { MainAppWindow::productHomeItem, "Product home" }, { MainAppWindow::onlineManualItem, "Online manual" },
          { MainAppWindow::latestUpdatesItem, "Latest updates" },
          { 0, nullptr },
          { MainAppWindow::aboutItem, "About..." } }
    };

    // The module whose event parameter an item posts on, and the command kind it posts.
    struct Posting
    {
        int itemId;
        int moduleId;
        int kind;
    };

    const Posting postings[] {
        { MainAppWindow::loadBankItem, AlxProgramModule::moduleId, AlxProgramModule::loadBank },
        { MainAppWindow::loadPresetItem, AlxProgramModule::moduleId, AlxProgramModule::loadPreset },
        { MainAppWindow::saveBankItem, AlxProgramModule::moduleId, AlxProgramModule::saveBank },
        { MainAppWindow::savePresetItem, AlxProgramModule::moduleId, AlxProgramModule::savePreset },
        { MainAppWindow::renamePresetItem, AlxProgramModule::moduleId, AlxProgramModule::renamePreset },
        // The same command the device choosers' "Configure..." entry posts.
        { MainAppWindow::midiSettingsItem, AlxMidiInputGroupModule::moduleId, AlxMessageCode::domainCommand },
        { MainAppWindow::helpItem, AlxHelpModule::moduleId, AlxHelpModule::showHelp },
        { MainAppWindow::productHomeItem, AlxHelpModule::moduleId, AlxHelpModule::openHome },
        { MainAppWindow::onlineManualItem, AlxHelpModule::moduleId, AlxHelpModule::openManual },
        { MainAppWindow::latestUpdatesItem, AlxHelpModule::moduleId, AlxHelpModule::openUpdates },
        { MainAppWindow::unlistedHelpItem, AlxHelpModule::moduleId, unassignedHelpCommand },
        { MainAppWindow::aboutItem, AlxHelpModule::moduleId, AlxHelpModule::showAbout },
    };
}

MainAppWindow::MainAppWindow (std::unique_ptr<juce::PropertySet> settingsToOwn, bool onDesktop)
    : StandaloneFilterWindow (juce::JUCEApplicationBase::getInstance() != nullptr
                                  ? juce::JUCEApplicationBase::getInstance()->getApplicationName()
                                  : juce::String ("plimsar"),
                              juce::Colour (0xffd3d3d3), std::move (settingsToOwn), onDesktop)
{
    setUsingNativeTitleBar (true);
    setMenuBar (this, 20);
    setSize (695, 520);
    // Placed after sizing: the saved place, or the middle of the screen on a first start.
    placeWindow();
    setVisible (true);
}

MainAppWindow::~MainAppWindow()
{
    if (auto* selector = audioSettings.getComponent())
        delete selector->findParentComponentOfClass<juce::DialogWindow>();

    setMenuBar (nullptr);
}

void MainAppWindow::closeButtonPressed()
{
    quitApplication();
}

void MainAppWindow::quitApplication()
{
    if (auto* application = juce::JUCEApplicationBase::getInstance())
        application->systemRequestedQuit();
    else
        juce::JUCEApplicationBase::quit();
}

juce::StringArray MainAppWindow::getMenuBarNames()
{
    return { "File", "Settings", "Help" };
}

juce::PopupMenu MainAppWindow::getMenuForIndex (int menuIndex, const juce::String&)
{
    juce::PopupMenu menu;

    if (! juce::isPositiveAndBelow (menuIndex, (int) menus.size()))
        return menu;

    for (auto& entry : menus[(size_t) menuIndex])
    {
        if (entry.itemId == 0)
            menu.addSeparator();
        else
            menu.addItem (entry.itemId, entry.text);
    }

    return menu;
}

void MainAppWindow::menuItemSelected (int menuItemID, int)
{
    switch (menuItemID)
    {
        case exitItem:            quitApplication(); return;
        case audioSettingsItem:   showAudioSettingsDialog(); return;
        case restoreDefaultsItem: restoreDefaults(); return;
        default:                  break;
    }

    auto* container = getFilter() != nullptr ? getFilter()->getContainer() : nullptr;

    if (container == nullptr)
        return;

    for (auto& posting : postings)
    {
        if (posting.itemId != menuItemID)
            continue;

        if (auto* module = container->findModule (posting.moduleId))
            module->getEventParameter()->post (AlxMessageCode::make (posting.kind, AlxMessageCode::moduleEvent));

        return;
    }
}

void MainAppWindow::showAudioSettingsDialog()
{
    auto* processor = getFilter();
    auto* devices = getDeviceManager();

    if (processor == nullptr || devices == nullptr)
        return;

    const int inputs = processor->getTotalNumInputChannels();
    const int outputs = processor->getTotalNumOutputChannels();
    auto selector = std::make_unique<juce::AudioDeviceSelectorComponent> (*devices, inputs, inputs, outputs, outputs,
                                                                         false, false, false, false);
    auto& defaultLook = juce::LookAndFeel::getDefaultLookAndFeel();
    selector->setLookAndFeel (&defaultLook);
    // The selector then fits its height to the controls the current device needs.
    selector->setSize (500, 320);

    audioSettings = selector.get();
    AlxDialogService::DialogOptions options;
    options.title = "Audio Settings";
    options.background = defaultLook.findColour (juce::ComboBox::backgroundColourId);
    AlxDialogService::getDefault().launchDialog (options, std::move (selector));
}

void MainAppWindow::restoreDefaults()
{
    if (AlxDialogService::getDefault().confirm (AlxDialogService::Icon::warning, "Warning",
                                                "This will clear all presets and reset midi settings. Are you sure? ",
                                                "   Yes   ", "   No   "))
        resetFilter();
}
