#include "core/AlxPlimsarFilter.h"
#include "core/AlxProgramModule.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxEditor.h"
#include "editor/AlxHeaderPanel.h"
#include "editor/AlxHelpModule.h"
#include "editor/AlxParamControl.h"
#include "editor/AlxPresetFolder.h"
#include "framework/AlxMessageCode.h"
#include "modules/AlxTransportModule.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"
#include "support/AlxScriptedDialogService.h"
#include "support/AlxTestPlayHead.h"

#include <gtest/gtest.h>

namespace
{
    using Kind = AlxScriptedDialogService::Kind;
    using Icon = AlxDialogService::Icon;

    // The header with its menus answered by the test: each menu shown is recorded and the item
    // the test chose next is returned.
    class TestHeader : public AlxHeaderPanel
    {
    public:
        using AlxHeaderPanel::AlxHeaderPanel;

        int showMenu (juce::PopupMenu& menu, juce::Component& target) override
        {
            juce::StringArray lines;
            for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
                lines.add (it.getItem().isSeparator ? "-" : juce::String (it.getItem().itemID) + " " + it.getItem().text);
            shownMenus.add (target.getName() + ": " + lines.joinIntoString (", "));
            return nextChoice;
        }

        juce::StringArray shownMenus;
        int nextChoice = 0;
    };

    class AlxHeaderPanelTest : public testing::Test
    {
    protected:
        AlxHeaderPanelTest()
        {
            header.setSize (800, header.getPreferredHeight());
            AlxMessageLoop::deliverPending();
        }

        ~AlxHeaderPanelTest() override
        {
            folder.deleteRecursively();
        }

        template <typename Part>
        Part& part (const juce::String& name)
        {
            for (auto* child : header.getChildren())
                if (child->getName() == name)
                    if (auto* found = dynamic_cast<Part*> (child))
                        return *found;
            throw std::runtime_error ("no part " + name.toStdString());
        }

        juce::Label& label (const juce::String& name) { return part<juce::Label> (name); }
        AlxDrawableButton& button (const juce::String& name) { return part<AlxDrawableButton> (name); }

        AlxTransportModule& transport() { return *header.getTransport(); }
        AlxProgramModule& program() { return *header.getProgramModule(); }

        // Types into a label as the user does: the label tells its listeners when editing ends.
        void type (const juce::String& labelName, const juce::String& text)
        {
            label (labelName).setText (text, juce::sendNotificationSync);
            AlxMessageLoop::deliverPending();
        }

        void click (const juce::String& name)
        {
            button (name).triggerClick();
            AlxMessageLoop::deliverPending();
        }

        void post (int kind)
        {
            program().getEventParameter()->post (AlxMessageCode::make (kind, AlxMessageCode::moduleEvent));
            AlxMessageLoop::deliverPending();
        }

        juce::String property (const juce::String& extension)
        {
            return program().getPropertySet()->getValue (AlxHeaderPanel::lastUsedFileKey (extension));
        }

        void setSignature (int numerator, int denominator)
        {
            for (auto [parameter, value] : { std::pair (transport().getNumeratorParameter(), numerator),
                                             std::pair (transport().getDenominatorParameter(), denominator) })
            {
                const juce::ScopedLock sl (parameter->getLock());
                parameter->setRealValue ((float) value, AlxMessageCode::internal, false, true);
            }
            AlxMessageLoop::deliverPending();
        }

        juce::String programName (int index) { return program().getProgramName (index); }

        void selectProgram (int index)
        {
            program().selectProgram (index, AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::fromEditor));
            AlxMessageLoop::deliverPending();
        }

        AlxScriptedDialogService dialogs;
        AlxDialogService::ScopedDefault dialogsInPlace { dialogs };
        struct InitialisedFilter : AlxPlimsarFilter
        {
            InitialisedFilter() { initialise(); }
        };

        InitialisedFilter processor;
        AlxEditor editor { processor };
        TestHeader header { &editor };
        juce::File folder = juce::File::createTempFile ("header");
    };

    // The four preset file dialogs.
    struct FileCommand
    {
        const char* name;
        int kind;
        bool saving;
        const char* title;
        const char* extension;
        const char* failure;
    };

    const FileCommand fileCommands[] {
        { "saveBank", AlxProgramModule::saveBank, true, "Save Preset Bank (*.fxb)", ".fxb", "Could not write to the specified file." },
        { "loadBank", AlxProgramModule::loadBank, false, "Load Preset Bank (*.fxb)", ".fxb", "Could not read from the specified file." },
        { "savePreset", AlxProgramModule::savePreset, true, "Save Preset (*.fxp)", ".fxp", "Could not write to the specified file." },
        { "loadPreset", AlxProgramModule::loadPreset, false, "Load Preset (*.fxp)", ".fxp", "Could not read from the specified file." },
    };
}

TEST_F (AlxHeaderPanelTest, showsTempoSignatureAndSongPosition)
{
    EXPECT_EQ (label ("bpmLabel").getText(), "120.00");
    EXPECT_EQ (label ("timeSignatureLabel").getText(), "4/4");
    EXPECT_EQ (label ("songPositionLabel").getText(), "   0.   0") << "armed";

    setSignature (6, 8);
    EXPECT_EQ (label ("timeSignatureLabel").getText(), "6/8");

    // Playing at bar index 4, beat index 2 of 4/4.
    setSignature (4, 4);
    transport().postPlay();
    AlxMessageLoop::deliverPending();
    ASSERT_TRUE (transport().isPlaying());
    auto position = transport().getPosition();
    position.ppqPosition = 4 * 4 + 2;
    transport().applyPosition (position);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (label ("songPositionLabel").getText(), "   5.   3");

    // Transport news puts out a lit indicator.
    label ("indicatorLabel").setColour (juce::Label::backgroundColourId, juce::Colour (0xffff0000));
    transport().postStop (false);
    AlxMessageLoop::deliverPending();
    EXPECT_NE (label ("indicatorLabel").findColour (juce::Label::backgroundColourId), juce::Colour (0xffff0000));
    EXPECT_EQ (label ("songPositionLabel").getText(), "   0.   0") << "armed again";
}

TEST_F (AlxHeaderPanelTest, typedTempoAndSignatureReachTheTransportOrSnapBack)
{
    struct Case
    {
        const char* labelName;
        const char* typed;
        float tempo, numerator, denominator;
        const char* shown;
    };
    const Case cases[] {
        { "bpmLabel", "500", 500.0f, 4.0f, 4.0f, "500.00" },
        { "bpmLabel", "10", 500.0f, 4.0f, 4.0f, "500.00" },       // below 20: refused
        { "bpmLabel", "abc", 500.0f, 4.0f, 4.0f, "500.00" },
        { "bpmLabel", " 97.5", 97.5f, 4.0f, 4.0f, "97.50" },
        { "bpmLabel", "97.5", 97.5f, 4.0f, 4.0f, "97.50" },       // unchanged value: the text is tidied
        { "timeSignatureLabel", "7/8", 97.5f, 7.0f, 8.0f, "7/8" },
        { "timeSignatureLabel", "abc", 97.5f, 7.0f, 8.0f, "7/8" }, // 0 is refused
        { "timeSignatureLabel", "5/32", 97.5f, 5.0f, 8.0f, "5/8" }, // denominator above 16: refused
        { "timeSignatureLabel", "3", 97.5f, 3.0f, 3.0f, "3/3" },   // no "/": both from the whole text
        { "timeSignatureLabel", "2/x/4", 97.5f, 2.0f, 4.0f, "2/4" },
    };

    for (auto& c : cases)
    {
        type (c.labelName, c.typed);
        SCOPED_TRACE (juce::String (c.labelName) + " typed " + c.typed);
        EXPECT_EQ (transport().getTempoParameter()->getRealValue(), c.tempo);
        EXPECT_EQ (transport().getNumeratorParameter()->getRealValue(), c.numerator);
        EXPECT_EQ (transport().getDenominatorParameter()->getRealValue(), c.denominator);
        EXPECT_EQ (label (c.labelName).getText(), c.shown);
    }

    type ("songPositionLabel", "9.9");
    EXPECT_EQ (transport().getTempoParameter()->getRealValue(), 97.5f) << "the position is not editable";
}

TEST_F (AlxHeaderPanelTest, tempoAndSignatureAreEditableOnlyWhileNoHostDrivesThem)
{
    EXPECT_TRUE (label ("bpmLabel").isEditableOnSingleClick());
    EXPECT_TRUE (label ("timeSignatureLabel").isEditableOnSingleClick());
    EXPECT_FALSE (label ("songPositionLabel").isEditable());

    AlxTestPlayHead playHead;
    playHead.setBpm (133.5);
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;
    processor.processBlock (audio, midi);
    AlxMessageLoop::deliverPending();

    EXPECT_EQ (label ("bpmLabel").getText(), "133.50");
    EXPECT_FALSE (label ("bpmLabel").isEditable());
    EXPECT_FALSE (label ("timeSignatureLabel").isEditable());

    processor.setPlayHead (nullptr);
    processor.processBlock (audio, midi);
    AlxMessageLoop::deliverPending();
    transport().postRewind(); // any transport news refreshes the display
    transport().getTempoParameter()->post (AlxMessageCode::make (AlxMessageCode::valueChanged, AlxMessageCode::internal));
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (label ("bpmLabel").isEditableOnSingleClick());
    processor.releaseResources();
}

TEST_F (AlxHeaderPanelTest, startArmsThenPlaysAndTheButtonShowsTheState)
{
    auto& start = button ("startButton");
    ASSERT_TRUE (transport().isArmed()) << "a new processor is armed";
    EXPECT_TRUE (start.isFlashing());

    click ("stopButton");
    EXPECT_TRUE (transport().isStopped());
    EXPECT_FALSE (start.isFlashing());
    EXPECT_FALSE (start.getToggleState()) << "dark while stopped";

    click ("startButton");
    EXPECT_TRUE (transport().isArmed());
    EXPECT_TRUE (start.isFlashing()) << "flashing while armed";

    click ("startButton");
    EXPECT_TRUE (transport().isPlaying());
    EXPECT_FALSE (start.isFlashing());
    EXPECT_TRUE (start.getToggleState()) << "lit while playing";

    click ("stopButton");
    EXPECT_TRUE (transport().isArmed()) << "stop from playing arms";
    EXPECT_TRUE (start.isFlashing());
    click ("stopButton");
    EXPECT_TRUE (transport().isStopped());
}

TEST_F (AlxHeaderPanelTest, programComboSelectsTheProgram)
{
    juce::ComboBox* combo = nullptr;
    for (auto* child : header.getChildren())
        if (auto* paramControl = dynamic_cast<AlxParamControl*> (child))
        {
            EXPECT_EQ (paramControl->getParameter(), program().getProgramParameter());
            for (auto* grandChild : paramControl->getChildren())
                if (auto* box = dynamic_cast<juce::ComboBox*> (grandChild))
                    combo = box;
        }
    ASSERT_NE (combo, nullptr);
    EXPECT_EQ (combo->getNumItems(), 128);

    combo->setSelectedItemIndex (12, juce::sendNotificationSync);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (program().getCurrentProgram(), 12);
    EXPECT_EQ (processor.getRootModule()->getCurrentProgram(), 12) << "the tree follows the program";

    selectProgram (3);
    EXPECT_EQ (combo->getSelectedItemIndex(), 3) << "the combo follows the program";
}

TEST_F (AlxHeaderPanelTest, renameAsksForTheNameAndCancelKeepsIt)
{
    selectProgram (5);
    const auto before = programName (5);

    dialogs.cancel();
    post (AlxProgramModule::renamePreset);
    EXPECT_EQ (programName (5), before);

    dialogs.answerText ("Shuffle in seven");
    post (AlxProgramModule::renamePreset);
    EXPECT_EQ (programName (5), "Shuffle in seven");
    EXPECT_EQ (programName (4), program().getProgramName (4)) << "only the current program";

    ASSERT_EQ (dialogs.requests.size(), 2u);
    const auto& asked = dialogs.requests[1];
    EXPECT_EQ (asked.kind, Kind::textInput);
    EXPECT_EQ (asked.title, "Rename preset");
    EXPECT_EQ (asked.message, "New preset name:");
    EXPECT_EQ (asked.icon, Icon::question);
    EXPECT_EQ (asked.fieldName, "programName");
    EXPECT_EQ (asked.text, before);
    EXPECT_EQ (asked.buttons, juce::StringArray ({ "      OK      ", "   Cancel   " }));

    // The new name travels with the bank.
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    EXPECT_TRUE (chunk.toString().contains ("<val i=\"5\" n=\"Shuffle in seven\"/>"));
}

TEST_F (AlxHeaderPanelTest, firstDialogsProposeAnUntitledFileInThePresetFolder)
{
    for (auto& command : fileCommands)
    {
        SCOPED_TRACE (command.name);
        dialogs.requests.clear();
        dialogs.cancel();
        post (command.kind);
        ASSERT_EQ (dialogs.requests.size(), 1u);
        const auto& asked = dialogs.requests[0];
        const auto untitled = AlxPresetFolder::proposeUntitled (command.extension);
        EXPECT_EQ (untitled.getFileName(), juce::String ("untitled") + command.extension);
        EXPECT_EQ (asked.kind, command.saving ? Kind::saveFile : Kind::openFile);
        EXPECT_EQ (asked.title, command.title);
        EXPECT_EQ (asked.patterns, juce::String ("*") + command.extension);
        EXPECT_EQ (asked.file, command.saving ? untitled : untitled.getParentDirectory());
        EXPECT_TRUE (property (command.extension).isEmpty()) << "cancelling remembers nothing";
    }
    EXPECT_EQ (dialogs.getNumUnanswered(), 0);
}

TEST_F (AlxHeaderPanelTest, savedFilesLoadBackAndAreRememberedPerKind)
{
    ASSERT_TRUE (folder.createDirectory());
    const auto bank = folder.getChildFile ("x/y/bank.fxb");
    const auto preset = folder.getChildFile ("p/one.fxp");
    ASSERT_TRUE (bank.getParentDirectory().createDirectory());
    ASSERT_TRUE (preset.getParentDirectory().createDirectory());

    selectProgram (7);
    dialogs.answerText ("Before saving");
    post (AlxProgramModule::renamePreset);

    dialogs.answerFile (bank);
    post (AlxProgramModule::saveBank);
    EXPECT_TRUE (bank.existsAsFile());
    EXPECT_EQ (property (".fxb"), bank.getFullPathName());

    dialogs.answerFile (preset);
    post (AlxProgramModule::savePreset);
    EXPECT_TRUE (preset.existsAsFile());
    EXPECT_EQ (property (".fxp"), preset.getFullPathName());
    EXPECT_EQ (property (".fxb"), bank.getFullPathName()) << "each kind keeps its own";

    // Both properties travel with the state document.
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    EXPECT_TRUE (chunk.toString().contains ("lastUsedFileNameWinfxb=\"" + bank.getFullPathName() + "\""));

    dialogs.answerText ("After saving");
    post (AlxProgramModule::renamePreset);

    // The next dialogs start where the files were saved.
    dialogs.requests.clear();
    dialogs.answerFile (bank);
    post (AlxProgramModule::loadBank);
    EXPECT_EQ (programName (7), "Before saving") << "the bank's names are back";
    dialogs.cancel();
    post (AlxProgramModule::saveBank);
    dialogs.cancel();
    post (AlxProgramModule::loadPreset);
    ASSERT_EQ (dialogs.requests.size(), 3u);
    EXPECT_EQ (dialogs.requests[0].file, bank.getParentDirectory());
    EXPECT_EQ (dialogs.requests[1].file, bank);
    EXPECT_EQ (dialogs.requests[2].file, preset.getParentDirectory());

    // A preset loads into the current program and renames only that one.
    selectProgram (9);
    dialogs.answerFile (preset);
    post (AlxProgramModule::loadPreset);
    EXPECT_EQ (programName (9), "Before saving");
    EXPECT_EQ (program().getCurrentProgram(), 9);
    EXPECT_EQ (dialogs.getNumUnanswered(), 0);
}

TEST_F (AlxHeaderPanelTest, failuresAreReportedAndChangeNothing)
{
    ASSERT_TRUE (folder.createDirectory());
    const auto notAPreset = folder.getChildFile ("notes.txt");
    ASSERT_TRUE (notAPreset.replaceWithText ("not a preset"));

    for (auto& command : fileCommands)
    {
        SCOPED_TRACE (command.name);
        const auto remembered = folder.getChildFile (juce::String ("kept") + command.extension).getFullPathName();
        program().getPropertySet()->setValue (AlxHeaderPanel::lastUsedFileKey (command.extension), remembered);
        const auto unreachable = folder.getChildFile (juce::String ("missing/file") + command.extension);

        for (const auto& file : { unreachable, notAPreset })
        {
            if (command.saving && file == notAPreset)
                continue; // any writable path can be saved to
            dialogs.requests.clear();
            dialogs.answerFile (file);
            post (command.kind);
            ASSERT_EQ (dialogs.requests.size(), 2u);
            const auto& box = dialogs.requests[1];
            EXPECT_EQ (box.kind, Kind::message);
            EXPECT_EQ (box.icon, Icon::warning);
            EXPECT_EQ (box.title, "Error");
            EXPECT_EQ (box.message, command.failure);
            EXPECT_EQ (property (command.extension), remembered) << "the last used file stays";
        }
    }
    EXPECT_FALSE (folder.getChildFile ("missing").exists());
}

TEST_F (AlxHeaderPanelTest, fileMenuPostsTheCommandsTheHeaderCarriesOut)
{
    struct Case
    {
        int item;
        Kind asked;
        const char* title;
    };
    const Case cases[] {
        { AlxHeaderPanel::loadBankItem, Kind::openFile, "Load Preset Bank (*.fxb)" },
        { AlxHeaderPanel::loadPresetItem, Kind::openFile, "Load Preset (*.fxp)" },
        { AlxHeaderPanel::saveBankItem, Kind::saveFile, "Save Preset Bank (*.fxb)" },
        { AlxHeaderPanel::savePresetItem, Kind::saveFile, "Save Preset (*.fxp)" },
        { AlxHeaderPanel::renamePresetItem, Kind::textInput, "Rename preset" },
    };

    AlxRecordingSink posted;
    program().getEventParameter()->addSink (&posted);

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.title);
        dialogs.requests.clear();
        dialogs.cancel();
        header.nextChoice = c.item;
        click ("fileButton");
        ASSERT_EQ (dialogs.requests.size(), 1u);
        EXPECT_EQ (dialogs.requests[0].kind, c.asked);
        EXPECT_EQ (dialogs.requests[0].title, c.title);
    }

    header.nextChoice = 0;
    click ("fileButton");
    program().getEventParameter()->removeSink (&posted);

    std::vector<int> codes;
    for (auto& r : posted.records)
        codes.push_back (r.code);
    EXPECT_EQ (codes, (std::vector<int> { 0x1006, 0x0E06, 0x0F06, 0x0D06, 0x1106 })) << "dismissing posts nothing";
    EXPECT_EQ (header.shownMenus[0], "fileButton: 110 Load Preset Bank..., 111 Load Preset..., -, "
                                     "120 Save Preset Bank As..., 121 Save Preset As..., -, 130 Rename Preset...");
}

TEST_F (AlxHeaderPanelTest, helpMenuPostsOnTheHelpModule)
{
    auto& help = *header.getHelpModule();
    AlxRecordingSink posted;
    help.getEventParameter()->addSink (&posted);

    for (int item : { 210, 220, 230, 240, 260, 0 })
    {
        header.nextChoice = item;
        click ("helpButton");
    }
    help.getEventParameter()->removeSink (&posted);

    std::vector<int> codes;
    for (auto& r : posted.records)
        codes.push_back (r.code);
    EXPECT_EQ (codes, (std::vector<int> { 0x0C06, 0x1306, 0x1406, 0x1506, 0x0B06 }));
    EXPECT_EQ (header.shownMenus[0], "helpButton: 210 Help..., -, 220 Product home, 230 Online manual, "
                                     "240 Latest updates, -, 260 About...");
    EXPECT_TRUE (dialogs.requests.empty());
}

TEST_F (AlxHeaderPanelTest, onlyPresetCommandsWithTheEventReasonAreCarriedOut)
{
    program().getEventParameter()->post (AlxMessageCode::make (AlxProgramModule::saveBank, AlxMessageCode::internal));
    program().getEventParameter()->post (AlxMessageCode::make (18, AlxMessageCode::moduleEvent));
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (dialogs.requests.empty());
}

TEST_F (AlxHeaderPanelTest, layoutFollowsTheCombo)
{
    auto& combo = *header.getChildren()[0];
    EXPECT_EQ (header.getPreferredWidth(), 800);
    EXPECT_EQ (header.getPreferredHeight(), combo.getHeight() + 10);
    EXPECT_EQ (combo.getBounds(), juce::Rectangle<int> (-20, 5, 250, combo.getHeight()));
    EXPECT_EQ (button ("stopButton").getX(), 240);
    EXPECT_EQ (button ("startButton").getX(), 266);
    EXPECT_EQ (label ("bpmLabel").getBounds(), juce::Rectangle<int> (292, 6, 45, combo.getHeight() - 2));
    EXPECT_EQ (label ("timeSignatureLabel").getX(), 338);
    EXPECT_EQ (label ("songPositionLabel").getBounds().getRight(), 384 + 55);
    EXPECT_EQ (button ("helpButton").getBounds(), juce::Rectangle<int> (760, 5, 30, combo.getHeight()));
    EXPECT_EQ (button ("fileButton").getX(), 731);

    for (auto* name : { "stopButton", "startButton", "fileButton", "helpButton" })
    {
        EXPECT_TRUE (button (name).getNormalImage() != nullptr) << name << " has its image";
        EXPECT_TRUE (button (name).isConnectedOnLeft() && button (name).isConnectedOnRight());
    }
}
