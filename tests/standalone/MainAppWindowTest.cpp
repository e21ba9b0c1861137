#include "standalone/MainAppWindow.h"

#include "core/AlxProgramModule.h"
#include "editor/AlxHelpModule.h"
#include "framework/AlxModuleContainer.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "standalone/AlxStandaloneSettings.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"
#include "support/AlxScriptedDialogService.h"

#include <gtest/gtest.h>

namespace
{
    // The main window off the desktop, so it runs without a display; quitting is counted
    // instead of ending the test program.
    class TestWindow : public MainAppWindow
    {
    public:
        explicit TestWindow (std::unique_ptr<juce::PropertySet> toOwn) : MainAppWindow (std::move (toOwn), false) {}
        int quitRequests = 0;

    protected:
        void quitApplication() override { ++quitRequests; }
    };

    class MainAppWindowMenus : public testing::Test
    {
    protected:
        AlxModule& module (int id) { return *window.getFilter()->getContainer()->findModule (id); }

        AlxMidiInputModule& midiInput()
        {
            return *dynamic_cast<AlxMidiInputModule*> (window.getFilter()->getContainer()->findModule (300100));
        }

        // Records what is posted on the event parameters of the modules the menus address.
        void listen()
        {
            for (int id : commandModules)
                module (id).getEventParameter()->addSink (&posted);
        }

        void stopListening()
        {
            for (int id : commandModules)
                module (id).getEventParameter()->removeSink (&posted);
        }

        void TearDown() override { stopListening(); }

        static constexpr int commandModules[] { AlxProgramModule::moduleId, AlxMidiInputGroupModule::moduleId,
                                                AlxHelpModule::moduleId };

        AlxScriptedDialogService dialogs;
        AlxDialogService::ScopedDefault dialogsInPlace { dialogs };
        TestWindow window { std::make_unique<juce::PropertySet>() };
        AlxRecordingSink posted;
    };

    struct Item
    {
        int id;            // 0: separator
        const char* text;
    };

    juce::String describe (const juce::PopupMenu& menu)
    {
        juce::StringArray lines;

        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            auto& item = it.getItem();
            lines.add (item.isSeparator ? "-" : juce::String (item.itemID) + " " + item.text
                                                    + (item.isEnabled ? "" : " disabled") + (item.isTicked ? " ticked" : ""));
        }

        return lines.joinIntoString ("\n");
    }
}

TEST_F (MainAppWindowMenus, offersTheThreeMenusWithEveryItemPlainAndEnabled)
{
    EXPECT_EQ (window.getMenuBarNames(), juce::StringArray ({ "File", "Settings", "Help" }));

    const std::vector<std::vector<Item>> expected {
        { { 110, "Load Preset Bank..." }, { 111, "Load Preset..." }, { 0, nullptr }, { 120, "Save Preset Bank As..." },
          { 121, "Save Preset As..." }, { 0, nullptr }, { 125, "Rename Preset..." }, { 0, nullptr }, { 130, "Exit" } },
        { { 210, "Audio Settings..." }, { 220, "Midi Settings..." }, { 0, nullptr }, { 230, "Restore Defaults" } },
        { { 310, "Help..." }, { 0, nullptr }, { 320, "Product home" }, { 330, "Online manual" }, { 340, "Latest updates" },
          { 0, nullptr }, { 360, "About..." } }
    };

    const auto names = window.getMenuBarNames();

    for (int i = 0; i < names.size(); ++i)
    {
        juce::StringArray lines;

        for (auto& item : expected[(size_t) i])
            lines.add (item.id == 0 ? juce::String ("-") : juce::String (item.id) + " " + item.text);

        EXPECT_EQ (describe (window.getMenuForIndex (i, names[i])), lines.joinIntoString ("\n")) << names[i];
    }

    EXPECT_EQ (describe (window.getMenuForIndex (3, "Other")), "");
}

TEST_F (MainAppWindowMenus, eachCommandItemPostsItsCodeOnTheModuleThatOwnsTheMatter)
{
    struct Case { int itemId; int moduleId; int code; };
    const Case cases[] {
        { 110, 1000, 0x1006 }, { 111, 1000, 0x0E06 }, { 120, 1000, 0x0F06 }, { 121, 1000, 0x0D06 }, { 125, 1000, 0x1106 },
        { 220, 3000, 0x0A06 },
        { 310, 9000, 0x0C06 }, { 320, 9000, 0x1306 }, { 330, 9000, 0x1406 }, { 340, 9000, 0x1506 }, { 350, 9000, 0x1606 },
        { 360, 9000, 0x0B06 },
    };

    listen();

    for (auto& c : cases)
    {
        AlxMessageLoop::deliverPending();
        posted.clear();

        window.menuItemSelected (c.itemId, 0);
        EXPECT_TRUE (posted.records.empty()) << c.itemId << ": delivered before the message loop ran";
        AlxMessageLoop::deliverPending();

        ASSERT_EQ (posted.records.size(), 1u) << c.itemId;
        EXPECT_EQ (posted.records[0].source, module (c.moduleId).getEventParameter()) << c.itemId;
        EXPECT_EQ (posted.records[0].code, c.code) << c.itemId;
    }

    // The editor's header carried out the preset commands (each dialog left unanswered).
    juce::StringArray asked;
    for (auto& request : dialogs.requests)
        asked.add (request.title);
    EXPECT_EQ (asked, juce::StringArray ({ "Load Preset Bank (*.fxb)", "Load Preset (*.fxp)", "Save Preset Bank (*.fxb)",
                                           "Save Preset (*.fxp)", "Rename preset" }));
    EXPECT_EQ (window.quitRequests, 0);
}

TEST_F (MainAppWindowMenus, idsWithoutAMeaningDoNothing)
{
    listen();
    AlxMessageLoop::deliverPending();
    posted.clear();

    for (int id : { 0, -1, 100, 112, 122, 126, 131, 200, 240, 300, 370, 9999 })
        window.menuItemSelected (id, 0);

    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (posted.records.empty());
    EXPECT_TRUE (dialogs.requests.empty());
    EXPECT_EQ (window.quitRequests, 0);
}

TEST_F (MainAppWindowMenus, exitQuitsTheApplication)
{
    window.menuItemSelected (MainAppWindow::exitItem, 0);
    EXPECT_EQ (window.quitRequests, 1);

    window.closeButtonPressed();
    EXPECT_EQ (window.quitRequests, 2);
}

TEST_F (MainAppWindowMenus, audioSettingsOpenTheDeviceSelectorForTwoOutputsWithoutMidi)
{
    window.menuItemSelected (MainAppWindow::audioSettingsItem, 1);

    ASSERT_EQ (dialogs.requests.size(), 1u);
    auto& request = dialogs.requests[0];
    EXPECT_EQ (request.kind, AlxScriptedDialogService::Kind::launchedDialog);
    EXPECT_EQ (request.title, "Audio Settings");
    EXPECT_EQ (request.dialog.background,
               juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ComboBox::backgroundColourId));
    EXPECT_TRUE (request.dialog.escapeKeyCloses);
    EXPECT_TRUE (request.dialog.nativeTitleBar);
    EXPECT_FALSE (request.dialog.resizable);
    // The selector fits its height to the controls the current device needs.
    EXPECT_EQ (request.contentBounds.getWidth(), 500);

    ASSERT_EQ (dialogs.launched.size(), 1u);
    auto* selector = dynamic_cast<juce::AudioDeviceSelectorComponent*> (dialogs.launched[0].get());
    ASSERT_NE (selector, nullptr);

    // The selector labels each of its sections; no MIDI section may be among them.
    std::function<void (juce::Component&)> checkNoMidi = [&] (juce::Component& component)
    {
        if (auto* label = dynamic_cast<juce::Label*> (&component))
        {
            EXPECT_FALSE (label->getText().containsIgnoreCase ("midi")) << label->getText();
        }

        for (auto* child : component.getChildren())
            checkNoMidi (*child);
    };
    checkNoMidi (*selector);
    dialogs.launched.clear();
}

TEST_F (MainAppWindowMenus, restoreDefaultsAnsweredNoChangesNothing)
{
    window.getFilter()->changeProgramName (5, "Mine");
    AlxStandaloneSettings::storeFilterState (window.getSettings(), *window.getFilter());
    auto* filterBefore = window.getFilter();

    dialogs.cancel();
    window.menuItemSelected (MainAppWindow::restoreDefaultsItem, 1);

    ASSERT_EQ (dialogs.requests.size(), 1u);
    auto& request = dialogs.requests[0];
    EXPECT_EQ (request.kind, AlxScriptedDialogService::Kind::confirmation);
    EXPECT_EQ (request.icon, AlxDialogService::Icon::warning);
    EXPECT_EQ (request.title, "Warning");
    EXPECT_EQ (request.message, "This will clear all presets and reset midi settings. Are you sure? ");
    EXPECT_EQ (request.buttons, juce::StringArray ({ "   Yes   ", "   No   " }));

    EXPECT_EQ (window.getFilter(), filterBefore);
    EXPECT_EQ (window.getFilter()->getProgramName (5), "Mine");
    EXPECT_TRUE (window.getSettings().containsKey (AlxStandaloneSettings::filterStateKey));
}

TEST_F (MainAppWindowMenus, restoreDefaultsAnsweredYesResetsProgramsAndMidiSettingsAndForgetsTheStoredState)
{
    const auto factoryName = window.getFilter()->getProgramName (5);
    window.getFilter()->changeProgramName (5, "Mine");
    auto* channel = midiInput().getChannelParameter();
    const int initialChannel = channel->getValueIndex();
    {
        const juce::ScopedLock sl (channel->getLock());
        channel->setValue (channel->getDomain()->findByText ("5"), AlxMessageCode::fromEditor, false, true);
    }
    ASSERT_NE (channel->getValueIndex(), initialChannel);
    AlxStandaloneSettings::storeFilterState (window.getSettings(), *window.getFilter());

    dialogs.accept();
    window.menuItemSelected (MainAppWindow::restoreDefaultsItem, 1);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (dialogs.getNumUnanswered(), 0);
    EXPECT_EQ (window.getFilter()->getProgramName (5), factoryName);
    EXPECT_EQ (midiInput().getChannelParameter()->getValueIndex(), initialChannel);
    EXPECT_FALSE (window.getSettings().containsKey (AlxStandaloneSettings::filterStateKey));
    // The new processor runs behind a new editor, and the menus reach its modules.
    EXPECT_NE (window.getContentComponent(), nullptr);
    listen();
    window.menuItemSelected (MainAppWindow::helpItem, 2);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (posted.count (module (AlxHelpModule::moduleId).getEventParameter(), 0x0C06), 1);
}

