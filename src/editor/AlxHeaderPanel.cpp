#include "editor/AlxHeaderPanel.h"

#include "AlxEmbeddedData.h"
#include "core/AlxProgramModule.h"
#include "editor/AlxDialogService.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxHelpModule.h"
#include "editor/AlxLabel.h"
#include "editor/AlxParamCombo.h"
#include "editor/AlxPresetFolder.h"
#include "framework/AlxMessageCode.h"
#include "framework/AlxModuleContainer.h"
#include "framework/AlxNumberText.h"
#include "modules/AlxTransportModule.h"

namespace
{
    std::unique_ptr<juce::Drawable> loadHeaderImage (const juce::String& entryName)
    {
        return loadDrawableFromZip (AlxEmbeddedData::headerZip, AlxEmbeddedData::headerZipSize, entryName);
    }

    // The leading decimal integer of a text; 0 when it does not start with one.
    int leadingInteger (const juce::String& text)
    {
        return text.trimStart().getIntValue();
    }

    constexpr int buttonEdges = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight;
}

AlxHeaderPanel::AlxHeaderPanel (AlxEditor* editor_)
    : AlxPanel (editor_, "Header", 200, 43, false)
{
    stopImage = loadHeaderImage ("stop.svg");
    startImage = loadHeaderImage ("start.svg");
    diskImage = loadHeaderImage ("disk.svg");
    infoImage = loadHeaderImage ("info.svg");

    programCombo = new AlxParamCombo (editor_, 0, 0);
    addAndMakeVisible (programCombo);
    if (auto* program = getProgramModule())
        programCombo->setParameter (program->getProgramParameter());

    stopButton = addButton ("stopButton", stopImage.get(), "Stop transport");
    startButton = addButton ("startButton", startImage.get(), "Arm transport, or if armed, start transport");
    fileButton = addButton ("fileButton", diskImage.get(), {});
    helpButton = addButton ("helpButton", infoImage.get(), {});
    bpmLabel = addLabel ("bpmLabel", "?", "Beats per minute. Editable in standalone version.");
    timeSignatureLabel = addLabel ("timeSignatureLabel", "?/?", "Time signature. Editable in standalone version.");
    songPositionLabel = addLabel ("songPositionLabel", "?.  ?", "Song position in bars.beats");
    indicatorLabel = addLabel ("indicatorLabel", {}, {});

    for (auto* label : { bpmLabel, timeSignatureLabel, songPositionLabel })
        label->addListener (this);

    if (auto* transport = getTransport())
        transport->addSinkRecursive (this, false);
    if (auto* program = getProgramModule())
        program->addSinkRecursive (this, false);

    refreshTransportDisplay();
    refreshStartButton();
}

AlxHeaderPanel::~AlxHeaderPanel()
{
    for (auto* label : { bpmLabel, timeSignatureLabel, songPositionLabel })
        label->removeListener (this);

    if (auto* transport = getTransport())
        transport->removeSinkRecursive (this, false);
    if (auto* program = getProgramModule())
        program->removeSinkRecursive (this, false);
}

AlxDrawableButton* AlxHeaderPanel::addButton (const juce::String& name, const juce::Drawable* image, const juce::String& tooltip)
{
    auto* button = new AlxDrawableButton (name);
    if (image != nullptr)
        button->setImages (image);
    button->setTooltip (tooltip);
    button->setTriggeredOnMouseDown (true);
    button->setConnectedEdges (buttonEdges);
    button->addListener (this);
    addAndMakeVisible (button);
    return button;
}

AlxLabel* AlxHeaderPanel::addLabel (const juce::String& name, const juce::String& text, const juce::String& tooltip)
{
    auto* label = new AlxLabel (name, text);
    label->setJustificationType (juce::Justification::centred);
    label->setTooltip (tooltip);
    label->setColour (juce::Label::backgroundColourId, findColour (juce::ComboBox::backgroundColourId));
    label->setColour (juce::Label::outlineColourId, findColour (juce::ComboBox::outlineColourId));
    label->setColour (juce::Label::textColourId, findColour (juce::ComboBox::textColourId));
    label->setColour (juce::Label::textWhenEditingColourId, findColour (juce::ComboBox::textColourId));
    addAndMakeVisible (label);
    return label;
}

AlxTransportModule* AlxHeaderPanel::getTransport() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxTransportModule>() : nullptr;
}

AlxProgramModule* AlxHeaderPanel::getProgramModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxProgramModule>() : nullptr;
}

AlxHelpModule* AlxHeaderPanel::getHelpModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxHelpModule>() : nullptr;
}

int AlxHeaderPanel::getPreferredHeight()
{
    return programCombo->getPreferredHeight() + 10;
}

void AlxHeaderPanel::resized()
{
    const int h = programCombo->getPreferredHeight();
    programCombo->setBounds (-20, 5, 250, h);
    stopButton->setBounds (programCombo->getRight() + 10, programCombo->getY(), 26, h);
    startButton->setBounds (stopButton->getRight(), programCombo->getY(), 26, h);
    bpmLabel->setBounds (startButton->getRight(), programCombo->getY() + 1, 45, h - 2);
    timeSignatureLabel->setBounds (bpmLabel->getRight() + 1, bpmLabel->getY(), bpmLabel->getWidth(), bpmLabel->getHeight());
    songPositionLabel->setBounds (timeSignatureLabel->getRight() + 1, bpmLabel->getY(), 55, bpmLabel->getHeight());
    indicatorLabel->setBounds (songPositionLabel->getRight() - 5, songPositionLabel->getY() + 5, 3, 3);
    helpButton->setBounds (getWidth() - 40, 5, 30, h);
    fileButton->setBounds (helpButton->getX() - 29, 5, 30, h);
}

void AlxHeaderPanel::paint (juce::Graphics& g)
{
    AlxPanel::paint (g);

    // One box behind the three transport labels: square on the left, where it meets the start
    // button, rounded on the right.
    const auto left = (float) bpmLabel->getX();
    const auto top = (float) bpmLabel->getY() - 1.0f;
    const auto height = (float) bpmLabel->getHeight() + 2.0f;
    juce::Path box;
    box.addRectangle (left, top, 5.0f, height);
    box.addRoundedRectangle (left, top, (float) songPositionLabel->getRight() + 5.0f - left, height, 6.0f);
    g.setColour (findColour (juce::ComboBox::backgroundColourId));
    g.fillPath (box);
}

void AlxHeaderPanel::refreshTransportDisplay()
{
    auto* transport = getTransport();
    if (transport == nullptr)
        return;

    AlxTransportPosition position;
    int bar = 0, beat = 0;
    bool hostDriven = false;
    transport->getPositionSnapshot (position, bar, beat, hostDriven);

    const auto tempo = juce::String::formatted ("%.02f", position.bpm);
    if (bpmLabel->getText() != tempo)
        bpmLabel->setText (tempo, juce::dontSendNotification);

    const auto signature = juce::String::formatted ("%d/%d", position.timeSigNumerator, position.timeSigDenominator);
    if (timeSignatureLabel->getText() != signature)
        timeSignatureLabel->setText (signature, juce::dontSendNotification);

    songPositionLabel->setText (transport->isPlaying() ? juce::String::formatted ("%4d.%4d", bar + 1, beat + 1)
                                                       : juce::String ("   0.   0"),
                                juce::dontSendNotification);

    bpmLabel->setEditable (! hostDriven);
    timeSignatureLabel->setEditable (! hostDriven);
}

void AlxHeaderPanel::refreshStartButton()
{
    auto* transport = getTransport();
    if (transport == nullptr)
        return;

    if (transport->isPlaying())
    {
        startButton->setFlashing (false, flashIntervalMs);
        startButton->setToggleState (true, juce::dontSendNotification);
    }
    else if (transport->isArmed())
    {
        startButton->setFlashing (true, flashIntervalMs);
    }
    else
    {
        startButton->setFlashing (false, flashIntervalMs);
        startButton->setToggleState (false, juce::dontSendNotification);
    }
}

void AlxHeaderPanel::resetIndicator()
{
    if (indicatorLabel->findColour (juce::Label::backgroundColourId) == juce::Colour (0xffff0000))
        indicatorLabel->setColour (juce::Label::backgroundColourId, findColour (juce::ComboBox::backgroundColourId));
}

bool AlxHeaderPanel::handlePanelMessage (void* source, int code, std::uint32_t)
{
    const int kind = AlxMessageCode::kindOf (code);

    if (auto* transport = getTransport())
    {
        if (source == transport->getStateParameter())
        {
            switch (kind)
            {
                // A stopped transport shows position zero at once, not half a second later.
                case AlxMessageCode::valueChanged:
                case AlxMessageCode::kindOf (AlxTransportModule::tick):
                    refreshStartButton();
                    refreshTransportDisplay();
                    resetIndicator();
                    return true;
                case AlxMessageCode::kindOf (AlxTransportModule::barChanged):
                case AlxMessageCode::kindOf (AlxTransportModule::beatChanged):
                    refreshTransportDisplay();
                    resetIndicator();
                    return true;
                default:
                    return false;
            }
        }

        if (source == transport->getTempoParameter() || source == transport->getNumeratorParameter()
            || source == transport->getDenominatorParameter())
        {
            refreshTransportDisplay();
            resetIndicator();
            return true;
        }
    }

    auto* program = getProgramModule();
    if (program == nullptr || source != program->getEventParameter()
        || AlxMessageCode::reasonOf (code) != AlxMessageCode::moduleEvent)
        return false;

    switch (kind)
    {
        case AlxProgramModule::savePreset:   savePresetFile(); return true;
        case AlxProgramModule::loadPreset:   loadPresetFile(); return true;
        case AlxProgramModule::saveBank:     saveBankFile(); return true;
        case AlxProgramModule::loadBank:     loadBankFile(); return true;
        case AlxProgramModule::renamePreset: renamePreset(); return true;
        default:                             return false;
    }
}

void AlxHeaderPanel::postCommand (AlxModule* module, int kind)
{
    if (module != nullptr)
        module->getEventParameter()->post (AlxMessageCode::make (kind, AlxMessageCode::moduleEvent));
}

void AlxHeaderPanel::runCommandMenu (juce::PopupMenu menu, AlxDrawableButton& button, AlxModule* module,
                                     std::initializer_list<std::pair<int, int>> commands)
{
    const int chosen = showMenu (menu, button);
    for (auto [item, kind] : commands)
        if (item == chosen)
            postCommand (module, kind);
}

juce::PopupMenu AlxHeaderPanel::createFileMenu() const
{
    juce::PopupMenu menu;
    menu.addItem (loadBankItem, "Load Preset Bank...");
    menu.addItem (loadPresetItem, "Load Preset...");
    menu.addSeparator();
    menu.addItem (saveBankItem, "Save Preset Bank As...");
    menu.addItem (savePresetItem, "Save Preset As...");
    menu.addSeparator();
    menu.addItem (renamePresetItem, "Rename Preset...");
    return menu;
}

juce::PopupMenu AlxHeaderPanel::createHelpMenu() const
{
    juce::PopupMenu menu;
    menu.addItem (helpItem, "Help...");
    menu.addSeparator();
    menu.addItem (productHomeItem, "Product home");
    menu.addItem (onlineManualItem, "Online manual");
    menu.addItem (latestUpdatesItem, "Latest updates");
    menu.addSeparator();
    menu.addItem (aboutItem, "About...");
    return menu;
}

void AlxHeaderPanel::buttonClicked (juce::Button* button)
{
    auto* transport = getTransport();

    if (button == stopButton && transport != nullptr)
    {
        transport->postStop (false);
    }
    else if (button == startButton && transport != nullptr)
    {
        transport->postPlay();
    }
    else if (button == fileButton)
    {
        runCommandMenu (createFileMenu(), *fileButton, getProgramModule(),
                        { { loadBankItem, AlxProgramModule::loadBank },       { loadPresetItem, AlxProgramModule::loadPreset },
                          { saveBankItem, AlxProgramModule::saveBank },       { savePresetItem, AlxProgramModule::savePreset },
                          { renamePresetItem, AlxProgramModule::renamePreset } });
    }
    else if (button == helpButton)
    {
        runCommandMenu (createHelpMenu(), *helpButton, getHelpModule(),
                        { { helpItem, AlxHelpModule::showHelp },         { productHomeItem, AlxHelpModule::openHome },
                          { onlineManualItem, AlxHelpModule::openManual }, { latestUpdatesItem, AlxHelpModule::openUpdates },
                          { aboutItem, AlxHelpModule::showAbout } });
    }
}

void AlxHeaderPanel::setTyped (AlxParameter* parameter, float value)
{
    const juce::ScopedLock sl (parameter->getLock());
    parameter->setRealValue (value, AlxMessageCode::fromEditor, false, true);
}

void AlxHeaderPanel::labelTextChanged (juce::Label* label)
{
    auto* transport = getTransport();
    if (transport == nullptr)
        return;

    const auto text = label->getText();

    if (label == bpmLabel)
    {
        setTyped (transport->getTempoParameter(), (float) AlxNumberText::toDouble (text.trim()));
    }
    else if (label == timeSignatureLabel)
    {
        const auto numerator = text.containsChar ('/') ? text.upToFirstOccurrenceOf ("/", false, false) : text;
        const auto denominator = text.containsChar ('/') ? text.fromLastOccurrenceOf ("/", false, false) : text;
        setTyped (transport->getNumeratorParameter(), (float) leadingInteger (numerator));
        setTyped (transport->getDenominatorParameter(), (float) leadingInteger (denominator));
    }
    else
    {
        return;
    }

    // A refused value, or one equal to the current, sends no change: show the transport's values
    // now rather than leave the typed text standing. An accepted one follows when its message
    // arrives.
    refreshTransportDisplay();
}

void AlxHeaderPanel::renamePreset()
{
    auto* program = getProgramModule();
    if (program == nullptr)
        return;

    const int index = program->getCurrentProgram();

    AlxDialogService::TextRequest request;
    request.title = "Rename preset";
    request.message = "New preset name:";
    request.icon = AlxDialogService::Icon::question;
    request.fieldName = "programName";
    request.text = program->getProgramName (index);
    request.okText = "      OK      ";
    request.cancelText = "   Cancel   ";

    const auto name = AlxDialogService::getDefault().askForText (request);
    if (! name.has_value())
        return;

    auto* parameter = program->getProgramParameter();
    const juce::ScopedLock sl (parameter->getLock());
    const auto& values = parameter->getDomain()->getValues();
    if (index >= 0 && index < (int) values.size())
        values[(size_t) index]->setText (*name, AlxMessageCode::make (AlxMessageCode::textsChanged, AlxMessageCode::fromEditor), true);
}

void AlxHeaderPanel::runFileDialog (bool saving, const juce::String& dialogTitle, const juce::String& extension,
                                    const juce::String& failureMessage, const FileAction& action)
{
    auto* program = getProgramModule();
    auto* container = getModuleContainer();
    if (program == nullptr || container == nullptr || container->getRootModule() == nullptr)
        return;

    const juce::File lastUsed (getLastUsedFile (extension));
    const auto pattern = "*" + extension;
    auto& dialogs = AlxDialogService::getDefault();
    const auto chosen = saving ? dialogs.chooseFileToSave (dialogTitle, lastUsed, pattern)
                               : dialogs.chooseFileToOpen (dialogTitle, lastUsed.getParentDirectory(), pattern);
    if (! chosen.has_value())
        return;

    // The dialog ran a modal loop: the tree may have been torn down meanwhile.
    auto* root = container->getRootModule();
    if (root == nullptr)
        return;

    if (action (*root, program->getCurrentProgram(), *chosen))
        setLastUsedFile (chosen->getFullPathName());
    else
        dialogs.showMessage (AlxDialogService::Icon::warning, "Error", failureMessage);
}

void AlxHeaderPanel::saveBankFile()
{
    runFileDialog (true, "Save Preset Bank (*.fxb)", ".fxb", "Could not write to the specified file.",
                   [] (AlxModule& root, int, const juce::File& file) { return root.saveBankFile (file); });
}

void AlxHeaderPanel::loadBankFile()
{
    runFileDialog (false, "Load Preset Bank (*.fxb)", ".fxb", "Could not read from the specified file.",
                   [] (AlxModule& root, int, const juce::File& file) { return root.loadBankFile (file); });
}

void AlxHeaderPanel::savePresetFile()
{
    runFileDialog (true, "Save Preset (*.fxp)", ".fxp", "Could not write to the specified file.",
                   [] (AlxModule& root, int program, const juce::File& file) { return root.saveProgramFile (program, file); });
}

void AlxHeaderPanel::loadPresetFile()
{
    runFileDialog (false, "Load Preset (*.fxp)", ".fxp", "Could not read from the specified file.",
                   [] (AlxModule& root, int program, const juce::File& file) { return root.loadProgramFile (program, file); });
}

juce::String AlxHeaderPanel::lastUsedFileKey (const juce::String& extension)
{
    return "lastUsedFileNameWin" + extension.removeCharacters (".");
}

juce::String AlxHeaderPanel::getLastUsedFile (const juce::String& extension)
{
    juce::String path;
    if (auto* program = getProgramModule())
        if (auto* settings = program->getPropertySet())
            path = settings->getValue (lastUsedFileKey (extension));

    if (path.isEmpty())
        path = AlxPresetFolder::proposeUntitled (extension).getFullPathName();

    return path;
}

void AlxHeaderPanel::setLastUsedFile (const juce::String& path)
{
    if (auto* program = getProgramModule())
        if (auto* settings = program->getPropertySet())
            settings->setValue (lastUsedFileKey (juce::File (path).getFileExtension()), path);
}
