// The MIDI panel and the "Midi Settings" dialog over in-memory devices: the five routing
// controls, the dialog opened from "Configure..." and from the menu, ticking devices in it, and
// the device choices rebuilt when it closes. With PLIMSAR_PANEL_PNG_DIR set, the panel and the
// dialog are also drawn to PNG files there.

#include "editor/AlxMidiDeviceSelectorComponent.h"
#include "editor/AlxMidiPanel.h"
#include "editor/AlxParamCombo.h"
#include "editor/AlxPlimsarEditor.h"
#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"
#include "support/AlxMemoryMidiDeviceService.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxScriptedDialogService.h"
#include "support/AlxTestHost.h"
#include "AlxSnapshot.h"

#include <gtest/gtest.h>

namespace
{
    using Kind = AlxScriptedDialogService::Kind;

    // A click (or double click) on a row of a device list, at x within the row.
    void clickRow (AlxMidiDeviceListBox& list, int row, int x, bool twice = false)
    {
        const auto now = juce::Time::getCurrentTime();
        const juce::Point<float> position ((float) x, 10.0f);
        const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), position, {}, 0.0f, 0.0f, 0.0f,
                                      0.0f, 0.0f, &list, &list, now, position, now, twice ? 2 : 1, false);
        if (twice)
            list.listBoxItemDoubleClicked (row, event);
        else
            list.listBoxItemClicked (row, event);
    }

    class AlxMidiPanelTest : public testing::Test
    {
    protected:
        AlxMidiPanelTest()
        {
            devices.addInput ("Keys In");
            devices.addInput ("Pads In");
            devices.addOutput ("Synth Out");
            devices.addOutput ("Drum Out");
        }

        ~AlxMidiPanelTest() override
        {
            if (editor != nullptr)
                closeEditor();
        }

        // Declared first: the processor's device managers open their devices through it.
        AlxMemoryMidiDeviceService devices;
        AlxMidiDeviceService::ScopedDefault devicesInPlace { devices };
        AlxScriptedDialogService dialogs;
        AlxDialogService::ScopedDefault dialogsInPlace { dialogs };
        AlxTestHost host;
        std::unique_ptr<AlxPlimsarEditor> editor;

        void openEditor() { editor = std::make_unique<AlxPlimsarEditor> (host.getProcessor()); }

        void closeEditor()
        {
            host.getProcessor().editorBeingDeleted (editor.get());
            editor.reset();
        }

        AlxMidiPanel& panel() { return dynamic_cast<AlxMidiPanel&> (*editor->getMidiPanel()); }
        AlxMidiInputGroupModule& inputGroup() { return host.module<AlxMidiInputGroupModule> (AlxMidiInputGroupModule::moduleId); }
        AlxMidiOutputGroupModule& outputGroup() { return host.module<AlxMidiOutputGroupModule> (AlxMidiOutputGroupModule::moduleId); }
        AlxParameter* source() { return inputGroup().getInputModule (0)->getGlobalParameters()->findById (0); }
        AlxParameter* destination() { return outputGroup().getOutputModule (0)->getGlobalParameters()->findById (0); }

        AlxParamCombo& control (int position) { return dynamic_cast<AlxParamCombo&> (*panel().getFlowChildren()[(size_t) position]); }

        static juce::ComboBox& comboOf (AlxParamCombo& control)
        {
            for (auto* child : control.getChildren())
                if (auto* combo = dynamic_cast<juce::ComboBox*> (child))
                    return *combo;
            throw std::logic_error ("no combo box");
        }

        // The items joined by "|", readable in a failure.
        static juce::String itemsOf (juce::ComboBox& combo)
        {
            juce::StringArray items;
            for (int i = 0; i < combo.getNumItems(); ++i)
                items.add (combo.getItemText (i));
            return items.joinIntoString ("|");
        }

        // Answers the next dialog by running the action on the selector in it.
        void whileDialogOpen (std::function<void (AlxMidiDeviceSelectorComponent&)> action)
        {
            dialogs.whileOpen ([action] (juce::Component& content) {
                action (dynamic_cast<AlxMidiDeviceSelectorComponent&> (content));
            });
        }

        size_t countDialogs() const
        {
            return (size_t) std::count_if (dialogs.requests.begin(), dialogs.requests.end(),
                                           [] (auto& request) { return request.kind == Kind::modalDialog; });
        }
    };
}

TEST_F (AlxMidiPanelTest, showsTheFiveRoutingChoices)
{
    openEditor();
    EXPECT_EQ (panel().getTitle(), "Midi");
    EXPECT_EQ (panel().getPreferredWidth(), 305);
    EXPECT_EQ (panel().getPreferredHeight(), 107);
    ASSERT_NE (panel().getIcon(), nullptr);

    auto* input = inputGroup().getInputModule (0);
    auto* output = outputGroup().getOutputModule (0);
    const AlxParameter* expected[] { nullptr, input->getGlobalParameters()->findById (0), input->getGlobalParameters()->findById (1),
                                     input->getGlobalParameters()->findById (2), nullptr,
                                     output->getGlobalParameters()->findById (0), output->getGlobalParameters()->findById (1) };
    const auto& children = panel().getFlowChildren();
    ASSERT_EQ (children.size(), 7u);
    for (size_t i = 0; i < children.size(); ++i)
    {
        if (expected[i] == nullptr)
        {
            EXPECT_EQ (dynamic_cast<AlxParamControl*> (children[i]), nullptr) << "spacer at " << i;
            EXPECT_TRUE (children[i]->hasRowBreak());
            continue;
        }
        auto& combo = dynamic_cast<AlxParamCombo&> (*children[i]);
        EXPECT_EQ (combo.getParameter(), expected[i]) << i;
        EXPECT_EQ (combo.getX(), 42) << "one choice per row";
    }

    EXPECT_EQ (itemsOf (comboOf (control (1))), "Not connected|Midi track|VST/AU host|Configure...");
    EXPECT_EQ (comboOf (control (1)).getText(), "Midi track");
    EXPECT_EQ (comboOf (control (5)).getText(), "Built-in synth");
    renderSnapshot (panel(), "midi-panel");
}

TEST_F (AlxMidiPanelTest, configureInADeviceListOpensTheDialogAndKeepsTheChoice)
{
    openEditor();
    for (int position : { 1, 5 })
    {
        auto& combo = comboOf (control (position));
        const auto before = combo.getText();
        dialogs.accept();
        combo.setSelectedItemIndex (combo.getNumItems() - 1, juce::sendNotificationSync);
        AlxMessageLoop::deliverPending();

        EXPECT_EQ (combo.getText(), before);
        ASSERT_EQ (countDialogs(), position == 1 ? 1u : 2u);
        const auto& request = dialogs.requests.back();
        EXPECT_EQ (request.dialog.title, "Midi Settings");
        EXPECT_EQ (request.dialog.background, juce::Colour (0xffd3d3d3));
        EXPECT_EQ (request.dialog.centreAround, editor.get());
        EXPECT_TRUE (request.dialog.escapeKeyCloses);
        EXPECT_FALSE (request.dialog.resizable);
        EXPECT_EQ (request.contentBounds.getWidth(), 570);
        EXPECT_EQ (request.contentBounds.getHeight(), 350);
    }
    EXPECT_EQ (source()->getValue()->getText(), "Track");
}

TEST_F (AlxMidiPanelTest, theSettingsMenuOpensTheSameDialog)
{
    openEditor();
    dialogs.accept();
    inputGroup().getEventParameter()->post (AlxMessageCode::make (AlxMessageCode::domainCommand, AlxMessageCode::moduleEvent));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countDialogs(), 1u);
    EXPECT_EQ (dialogs.getNumUnanswered(), 0);
}

TEST_F (AlxMidiPanelTest, otherMessagesOpenNothing)
{
    openEditor();
    inputGroup().getEventParameter()->post (AlxMessageCode::make (AlxMessageCode::domainCommand, AlxMessageCode::internal));
    inputGroup().getEventParameter()->post (AlxMessageCode::make (11, AlxMessageCode::moduleEvent));
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countDialogs(), 0u);
}

TEST_F (AlxMidiPanelTest, requestsQueuedForAClosedEditorAreDropped)
{
    openEditor();
    inputGroup().getEventParameter()->post (AlxMessageCode::make (AlxMessageCode::domainCommand, AlxMessageCode::moduleEvent));
    closeEditor();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (countDialogs(), 0u);
}

TEST_F (AlxMidiPanelTest, aSecondRequestWhileTheDialogIsOpenIsIgnored)
{
    openEditor();
    whileDialogOpen ([this] (AlxMidiDeviceSelectorComponent&) {
        panel().showMidiSettingsDialog();
    });
    panel().showMidiSettingsDialog();
    EXPECT_EQ (countDialogs(), 1u);

    dialogs.accept();
    panel().showMidiSettingsDialog();
    EXPECT_EQ (countDialogs(), 2u) << "closed, it opens again";
}

TEST_F (AlxMidiPanelTest, dialogListsTheSystemsDevicesWithTheEnabledTicked)
{
    outputGroup().getDeviceManager()->setEnabled ("Drum Out", true);
    openEditor();

    whileDialogOpen ([] (AlxMidiDeviceSelectorComponent& selector) {
        EXPECT_EQ (selector.getInputList().getItems(), (juce::StringArray { "Keys In", "Pads In" }));
        EXPECT_EQ (selector.getOutputList().getItems(), (juce::StringArray { "Synth Out", "Drum Out" }));
        EXPECT_EQ (selector.getInputList().getName(), "midi");
        EXPECT_EQ (selector.getOutputList().getName(), "midiout");
        EXPECT_EQ (selector.getInputList().getBounds(), juce::Rectangle<int> (30, 50, 250, 273));
        EXPECT_EQ (selector.getOutputList().getBounds(), juce::Rectangle<int> (292, 50, 250, 273));
        EXPECT_EQ (selector.getInputList().getRowHeight(), 21);
        renderSnapshot (selector, "midi-settings");
    });
    panel().showMidiSettingsDialog();
    EXPECT_EQ (dialogs.getNumAnswersLeft(), 0u);
}

TEST_F (AlxMidiPanelTest, tickingAnOutputAddsItAfterTheBuiltInSynth)
{
    openEditor();
    whileDialogOpen ([] (AlxMidiDeviceSelectorComponent& selector) {
        clickRow (selector.getOutputList(), 0, 12);
        AlxMessageLoop::deliverPending();
        renderSnapshot (selector, "midi-settings-ticked");
    });
    panel().showMidiSettingsDialog();

    EXPECT_TRUE (outputGroup().getDeviceManager()->isEnabled ("Synth Out"));
    EXPECT_EQ (devices.countOpenOutputs ("Synth Out"), 1);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (itemsOf (comboOf (control (5))), "Not connected|VST host|Built-in synth|Synth Out|Configure...");

    destination()->setValue (destination()->getDomain()->findByText ("Synth Out"), AlxMessageCode::fromEditor, false, true);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (comboOf (control (5)).getText(), "Synth Out");
}

TEST_F (AlxMidiPanelTest, untickingTheSourcesDeviceFallsBackToTheBuiltInTracks)
{
    inputGroup().getDeviceManager()->setEnabled ("Pads In", true);
    inputGroup().rebuildDeviceValues();
    {
        const juce::ScopedLock sl (source()->getLock());
        source()->setValue (source()->getDomain()->findByText ("Pads In"), AlxMessageCode::fromEditor, false, true);
    }
    openEditor();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (comboOf (control (1)).getText(), "Pads In");

    whileDialogOpen ([] (AlxMidiDeviceSelectorComponent& selector) {
        clickRow (selector.getInputList(), 1, 200, true);
    });
    panel().showMidiSettingsDialog();
    AlxMessageLoop::deliverPending();

    EXPECT_FALSE (inputGroup().getDeviceManager()->isEnabled ("Pads In"));
    EXPECT_EQ (devices.countOpenInputs ("Pads In"), 0);
    EXPECT_EQ (source()->getValue()->getText(), "Track");
    EXPECT_EQ (comboOf (control (1)).getText(), "Midi track");
}

TEST_F (AlxMidiPanelTest, onlyTheTickBoxOrADoubleClickSwitchesADevice)
{
    openEditor();
    auto& manager = *inputGroup().getDeviceManager();
    whileDialogOpen ([&manager] (AlxMidiDeviceSelectorComponent& selector) {
        auto& list = selector.getInputList();
        clickRow (list, 0, AlxMidiDeviceListBox::tickRight + 40);
        EXPECT_FALSE (manager.isEnabled ("Keys In")) << "a click on the text selects";
        EXPECT_EQ (list.getSelectedRow(), 0);

        clickRow (list, 1, AlxMidiDeviceListBox::tickRight - 8);
        EXPECT_TRUE (manager.isEnabled ("Pads In")) << "a click on the tick box switches";
        EXPECT_EQ (list.getSelectedRow(), 1);

        clickRow (list, 0, AlxMidiDeviceListBox::tickRight + 40, true);
        EXPECT_TRUE (manager.isEnabled ("Keys In")) << "a double click anywhere switches";

        clickRow (list, 1, 5);
        EXPECT_FALSE (manager.isEnabled ("Pads In")) << "and switches back";

        clickRow (list, 7, 5);
        clickRow (list, -1, 5, true);
    });
    panel().showMidiSettingsDialog();
    juce::StringArray enabled;
    manager.getEnabledNames (enabled);
    EXPECT_EQ (enabled, juce::StringArray { "Keys In" }) << "rows outside the list switch nothing";
}

TEST_F (AlxMidiPanelTest, aDeviceThatFailsToOpenStaysUnticked)
{
    devices.setFailsToOpen ("Keys In", true);
    openEditor();
    whileDialogOpen ([this] (AlxMidiDeviceSelectorComponent& selector) {
        clickRow (selector.getInputList(), 0, 5);
        AlxMessageLoop::deliverPending();
        EXPECT_FALSE (inputGroup().getDeviceManager()->isEnabled ("Keys In"));
        const auto image = renderSnapshot (selector, "midi-settings-failed");
        EXPECT_EQ (image.getWidth(), 570);
    });
    panel().showMidiSettingsDialog();
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (itemsOf (comboOf (control (1))), "Not connected|Midi track|VST/AU host|Configure...") << "no device was added";
}

TEST_F (AlxMidiPanelTest, anEnabledDeviceTheSystemNoLongerOffersCanStillBeSwitchedOff)
{
    inputGroup().getDeviceManager()->setEnabled ("Pads In", true);
    devices.removeInput ("Pads In");
    openEditor();
    whileDialogOpen ([this] (AlxMidiDeviceSelectorComponent& selector) {
        auto& list = selector.getInputList();
        ASSERT_EQ (list.getItems(), (juce::StringArray { "Keys In", "Pads In" }));
        clickRow (list, 1, 5);
        EXPECT_FALSE (inputGroup().getDeviceManager()->isEnabled ("Pads In"));
    });
    panel().showMidiSettingsDialog();
}

TEST (AlxMidiDeviceSelector, emptyListsSayThereAreNoDevices)
{
    AlxMemoryMidiDeviceService none;
    AlxMidiInputDeviceManager inputs (none);
    AlxMidiOutputDeviceManager outputs (none);
    AlxMidiDeviceSelectorComponent selector (inputs, outputs);
    selector.setSize (570, 350);
    EXPECT_EQ (selector.getInputList().getNumRows(), 0);
    EXPECT_EQ (selector.getOutputList().getNumRows(), 0);

    const auto image = renderSnapshot (selector, "midi-settings-empty");
    for (auto* list : { static_cast<juce::Component*> (&selector.getInputList()), static_cast<juce::Component*> (&selector.getOutputList()) })
    {
        // Grey lettering on the list's dark background, in the upper half only.
        const auto countGrey = [&image] (juce::Rectangle<int> area) {
            int grey = 0;
            for (int y = area.getY(); y < area.getBottom(); ++y)
                for (int x = area.getX(); x < area.getRight(); ++x)
                    grey += std::abs (image.getPixelAt (x, y).getBrightness() - 0.5f) < 0.1f ? 1 : 0;
            return grey;
        };
        const auto inner = list->getBounds().reduced (2);
        EXPECT_GT (countGrey (inner.withHeight (inner.getHeight() / 2)), 30) << list->getName() << " says it is empty";
        EXPECT_EQ (countGrey (inner.withTrimmedTop (inner.getHeight() / 2)), 0) << list->getName();
    }
}
