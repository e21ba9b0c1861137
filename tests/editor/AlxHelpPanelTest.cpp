// The help column in the editor: pages and their buttons, expanding and collapsing with the
// editor's width, the help commands of the menus, links to the shipped manual, and the state kept
// in the help module. With PLIMSAR_PANEL_PNG_DIR set, the pages are also drawn to PNG files there.

#include "editor/AlxCachedDrawables.h"
#include "editor/AlxHelpModule.h"
#include "editor/AlxHelpPanel.h"
#include "editor/AlxPlimsarEditor.h"
#include "framework/AlxMessageCode.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingBrowserService.h"
#include "support/AlxScriptedDialogService.h"
#include "support/AlxTestHost.h"
#include "AlxSnapshot.h"

#include <gtest/gtest.h>

namespace
{
    const juce::File shippedManual = juce::File (PLIMSAR_SOURCE_DIR).getChildFile ("manual");

    class AlxHelpPanelTest : public testing::Test
    {
    protected:
        AlxRecordingBrowserService browser;
        AlxBrowserService::ScopedDefault browserInPlace { browser };
        AlxScriptedDialogService dialogs;
        AlxDialogService::ScopedDefault dialogsInPlace { dialogs };
        AlxTestHost host;
        std::unique_ptr<AlxPlimsarEditor> editor;

        void openEditor()
        {
            editor = std::make_unique<AlxPlimsarEditor> (host.getProcessor());
            panel().setManualFolder (shippedManual);
        }

        void closeEditor()
        {
            host.getProcessor().editorBeingDeleted (editor.get());
            editor.reset();
        }

        void TearDown() override
        {
            if (editor != nullptr)
                closeEditor();
        }

        AlxHelpPanel& panel() { return dynamic_cast<AlxHelpPanel&> (*editor->getHelpPanel()); }
        AlxHelpModule& module() { return host.module<AlxHelpModule> (AlxHelpModule::moduleId); }

        void postCommand (int kind, int reason = AlxMessageCode::moduleEvent)
        {
            module().getEventParameter()->post (AlxMessageCode::make (kind, reason));
        }

        juce::StringArray buttonTexts()
        {
            juce::StringArray texts;
            for (auto* button : panel().getButtons())
                texts.add (button->getButtonText() + (button->getToggleState() ? "*" : ""));
            return texts;
        }

        juce::File openedFile (size_t index) const { return browser.opened.at (index).getLocalFile(); }
    };
}

TEST_F (AlxHelpPanelTest, startsAsACollapsedStripAttachedToTheHelpModule)
{
    openEditor();
    EXPECT_EQ (module().getHelpPanel(), &panel());
    EXPECT_FALSE (panel().isExpanded());
    EXPECT_EQ (panel().getWidth(), 15);
    EXPECT_EQ (panel().getPreferredHeight(), 470);
    EXPECT_TRUE (panel().getExpandButton()->isVisible());
    EXPECT_EQ (panel().getExpandButton()->getBounds(), juce::Rectangle<int> (3, 3, 10, 10));
    for (auto* button : panel().getButtons())
        EXPECT_FALSE (button->isVisible()) << "a collapsed strip holds only the expand button";

    closeEditor();
    EXPECT_EQ (module().getHelpPanel(), nullptr);
}

TEST_F (AlxHelpPanelTest, expandButtonWidensAndNarrowsTheEditor)
{
    openEditor();
    const int collapsedWidth = editor->getWidth();

    panel().getExpandButton()->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (panel().isExpanded());
    EXPECT_EQ (editor->getWidth(), collapsedWidth + 305);
    EXPECT_EQ (panel().getWidth(), 320);
    EXPECT_TRUE (module().getPropertySet()->getBoolValue ("helpExpanded"));
    EXPECT_EQ (editor->getSizeConstrainer().getMinimumWidth(), collapsedWidth + 305) << "the window is held at the new size";
    for (auto* button : panel().getButtons())
        EXPECT_TRUE (button->isVisible());

    panel().getExpandButton()->triggerClick();
    AlxMessageLoop::deliverPending();
    EXPECT_FALSE (panel().isExpanded());
    EXPECT_EQ (editor->getWidth(), collapsedWidth);
    EXPECT_FALSE (module().getPropertySet()->getBoolValue ("helpExpanded", true));
}

TEST_F (AlxHelpPanelTest, eachPageHasItsButtons)
{
    struct Case { int page; juce::StringArray texts; };
    const Case cases[] {
        { 0, { "About*", "Help", "here" } },
        { 1, { "About", "Help*", "1*", "2", "3" } },
        { 2, { "About", "Help", "1", "2*", "3" } },
        { 3, { "About", "Help", "1", "2", "3*" } },
        { 10, {} },
        { -1, {} },
    };

    openEditor();
    panel().setExpanded (true);
    for (const auto& c : cases)
    {
        panel().selectPage (c.page);
        EXPECT_EQ (buttonTexts(), c.texts) << "page " << c.page;
        EXPECT_EQ (module().getPropertySet()->getIntValue ("helpCurrentPage", -99), c.page);
    }

    panel().selectPage (2);
    const juce::Rectangle<int> expected[] { { 35, 5, 40, 15 }, { 80, 5, 40, 15 }, { 125, 5, 20, 15 }, { 145, 5, 20, 15 }, { 165, 5, 20, 15 } };
    for (size_t i = 0; i < panel().getButtons().size(); ++i)
        EXPECT_EQ (panel().getButtons()[i]->getBounds(), expected[i]) << "button " << i;

    panel().selectPage (0);
    EXPECT_EQ (panel().getButtons()[2]->getBounds(), juce::Rectangle<int> (109, 134, 21, 11)) << "the licence link";
}

TEST_F (AlxHelpPanelTest, pageButtonsMoveBetweenPages)
{
    openEditor();
    panel().setExpanded (true);
    panel().selectPage (0);

    panel().getButtons()[1]->triggerClick(); // "Help"
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (panel().getCurrentPage(), 1);

    panel().getButtons()[4]->triggerClick(); // "3"
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (panel().getCurrentPage(), 3);

    panel().getButtons()[0]->triggerClick(); // "About"
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (panel().getCurrentPage(), 0);
    EXPECT_TRUE (browser.opened.empty());
}

TEST_F (AlxHelpPanelTest, licenceLinkOpensTheManualsLicencePage)
{
    openEditor();
    panel().setExpanded (true);
    panel().selectPage (0);

    panel().getButtons()[2]->triggerClick();
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (browser.opened.size(), 1u);
    EXPECT_EQ (openedFile (0), shippedManual.getChildFile ("license.html"));
    EXPECT_EQ (panel().getCurrentPage(), 0);
}

TEST_F (AlxHelpPanelTest, menuCommandsAreCarriedOutByThePanel)
{
    openEditor();
    panel().selectPage (3);

    postCommand (AlxHelpModule::showAbout);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (panel().isExpanded()) << "the about page opens the column";
    EXPECT_EQ (panel().getCurrentPage(), 0);

    panel().setExpanded (false);
    postCommand (AlxHelpModule::showHelp);
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (panel().isExpanded());
    EXPECT_EQ (panel().getCurrentPage(), 1);

    struct Link { int kind; const char* page; };
    const Link links[] { { AlxHelpModule::openHome, "index.html" }, { AlxHelpModule::openManual, "manual.html" },
                         { AlxHelpModule::openUpdates, "updates.html" } };
    for (const auto& link : links)
    {
        browser.opened.clear();
        postCommand (link.kind);
        AlxMessageLoop::deliverPending();
        ASSERT_EQ (browser.opened.size(), 1u) << link.page;
        EXPECT_EQ (openedFile (0), shippedManual.getChildFile (link.page));
        EXPECT_TRUE (openedFile (0).existsAsFile());
    }
    EXPECT_EQ (dialogs.requests.size(), 0u);
}

TEST_F (AlxHelpPanelTest, otherReasonsAndKindsAreNoHelpCommands)
{
    openEditor();
    panel().selectPage (3);

    postCommand (AlxHelpModule::showAbout, AlxMessageCode::internal);
    postCommand (AlxHelpModule::openManual, AlxMessageCode::fromEditor);
    postCommand (22);
    AlxMessageLoop::deliverPending();

    EXPECT_FALSE (panel().isExpanded());
    EXPECT_EQ (panel().getCurrentPage(), 3);
    EXPECT_TRUE (browser.opened.empty());
}

TEST_F (AlxHelpPanelTest, commandsQueuedForAClosedEditorAreDropped)
{
    openEditor();
    for (int kind : { 11, 12, 19, 20, 21 })
        postCommand (kind);
    closeEditor();

    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (browser.opened.empty());
    EXPECT_EQ (dialogs.requests.size(), 0u);
}

TEST_F (AlxHelpPanelTest, aMissingManualOrBrowserIsToldToTheUser)
{
    openEditor();
    panel().setManualFolder (juce::File());
    panel().openLink ("manual");
    EXPECT_TRUE (browser.opened.empty());
    ASSERT_EQ (dialogs.requests.size(), 1u);
    EXPECT_EQ (dialogs.requests[0].kind, AlxScriptedDialogService::Kind::message);
    EXPECT_TRUE (dialogs.requests[0].message.contains ("manual")) << dialogs.requests[0].message;

    panel().setManualFolder (shippedManual);
    browser.opensSucceed = false;
    panel().openLink ("license");
    ASSERT_EQ (dialogs.requests.size(), 2u);
    EXPECT_TRUE (dialogs.requests[1].message.contains ("license.html")) << dialogs.requests[1].message;

    panel().openLink ("shop");
    EXPECT_EQ (dialogs.requests.size(), 3u) << "a path the manual has no page for opens nothing";
    EXPECT_EQ (browser.opened.size(), 1u);
}

TEST_F (AlxHelpPanelTest, pageTravelsWithTheStateAndANewEditorStartsCollapsedOnIt)
{
    openEditor();
    panel().showHelpPage();
    panel().selectPage (2);
    closeEditor();

    juce::MemoryBlock chunk;
    host.getProcessor().getStateInformation (chunk);
    EXPECT_TRUE (chunk.toString().contains ("helpCurrentPage=\"2\" helpExpanded=\"1\""));

    AlxTestHost other;
    other.getProcessor().setStateInformation (chunk.getData(), (int) chunk.getSize());
    AlxPlimsarEditor reopened (other.getProcessor());
    auto& reopenedPanel = dynamic_cast<AlxHelpPanel&> (*reopened.getHelpPanel());
    EXPECT_EQ (reopenedPanel.getCurrentPage(), 2);
    EXPECT_FALSE (reopenedPanel.isExpanded()) << "the editor opens at the same size every time";
    EXPECT_EQ (reopenedPanel.getButtons().size(), 5u);
    other.getProcessor().editorBeingDeleted (&reopened);
}

TEST_F (AlxHelpPanelTest, everyPageFitsWholeInTheColumn)
{
    openEditor();
    panel().setExpanded (true);
    // The column is as high as the editor's left column (header, MIDI, trigger, groove and arp
    // panels) leaves it: 457 pixels in the complete editor.
    const juce::Rectangle<int> column (0, 0, panel().getWidth(), 450);
    const auto transform = juce::AffineTransform::scale (0.4f, 0.39f).translated (0.0f, 20.0f);
    auto& cache = host.getContainer().getDrawableCache();

    for (const auto& key : AlxPlimsarEditor::getHelpPageKeys())
    {
        auto* entry = cache.get (key);
        ASSERT_NE (entry, nullptr) << key;
        auto* drawable = entry->getDrawable();
        ASSERT_NE (drawable, nullptr) << key;
        const auto drawn = drawable->getDrawableBounds().transformedBy (transform);
        EXPECT_GE (drawn.getY(), 20.0f) << key << ": below the page buttons";
        EXPECT_LE (drawn.getRight(), (float) column.getRight()) << key;
        EXPECT_LE (drawn.getBottom(), (float) column.getBottom()) << key;
    }
}

TEST_F (AlxHelpPanelTest, pagesAreDrawnAndTheAboutPageCarriesTheBuild)
{
    openEditor();
    panel().setExpanded (true);
    const auto background = panel().getPanelColour();

    for (int page = 0; page < 4; ++page)
    {
        panel().selectPage (page);
        const auto image = renderSnapshot (panel(), "help-page" + juce::String (page));
        int differing = 0;
        for (int y = 30; y < image.getHeight() - 10; ++y)
            for (int x = 5; x < image.getWidth() - 5; ++x)
                differing += image.getPixelAt (x, y) != background ? 1 : 0;
        EXPECT_GT (differing, 1000) << "page " << page << " shows its artwork";
    }

    panel().selectPage (0);
    const auto about = renderSnapshot (panel(), "help-about");
    int dark = 0;
    for (int y = 70; y < 90; ++y)
        for (int x = 230; x < 320; ++x)
            dark += about.getPixelAt (x, y).getBrightness() < 0.3f ? 1 : 0;
    EXPECT_GT (dark, 20) << "the version is written right of the name";

    panel().setExpanded (false);
    renderSnapshot (*editor, "editor-help-collapsed");
    panel().setExpanded (true);
    renderSnapshot (*editor, "editor-help-expanded");
}
