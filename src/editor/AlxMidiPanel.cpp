#include "editor/AlxMidiPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDialogService.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxEditor.h"
#include "editor/AlxMidiDeviceSelectorComponent.h"
#include "editor/AlxSpacer.h"
#include "framework/AlxMessageCode.h"
#include "midi/AlxMidiInputGroupModule.h"
#include "midi/AlxMidiInputModule.h"
#include "midi/AlxMidiOutputGroupModule.h"
#include "midi/AlxMidiOutputModule.h"

namespace
{
    constexpr int settingsCommand = AlxMessageCode::make (AlxMessageCode::domainCommand, AlxMessageCode::moduleEvent);

    AlxParameter* parameterOf (AlxModule* module, int id)
    {
        return module != nullptr ? module->getGlobalParameters()->findById (id) : nullptr;
    }
}

AlxMidiPanel::AlxMidiPanel (AlxEditor* owner, int width)
    : AlxParamPanel (owner, "Midi", width,
                     loadDrawableFromZip (AlxEmbeddedData::midiZip, AlxEmbeddedData::midiZipSize, "midi.svg"))
{
    auto* inputGroup = getMidiInputGroup();
    auto* outputGroup = getMidiOutputGroup();
    auto* input = inputGroup != nullptr ? inputGroup->getInputModule (0) : nullptr;
    auto* output = outputGroup != nullptr ? outputGroup->getOutputModule (0) : nullptr;

    addChild (new AlxSpacer (250, 10, true));
    for (int id : { 0, 1, 2 })
        addParameter (parameterOf (input, id), labelWidth, fieldWidth);
    addChild (new AlxSpacer (250, 10, true));
    for (int id : { 0, 1 })
        addParameter (parameterOf (output, id), labelWidth, fieldWidth);

    listen (true);
}

AlxMidiPanel::~AlxMidiPanel()
{
    listen (false);
}

void AlxMidiPanel::listen (bool start)
{
    auto* inputGroup = getMidiInputGroup();
    auto* outputGroup = getMidiOutputGroup();
    if (inputGroup == nullptr || outputGroup == nullptr)
        return;

    AlxMessageSource* domains[] { inputGroup->getDomainSet()->getDeviceDomain(), outputGroup->getDomainSet()->getDeviceDomain() };
    for (auto* domain : domains)
    {
        if (start)
            domain->addSink (this);
        else
            domain->removeSink (this);
    }

    // With the status parameters: the application's menu posts on the input group's event
    // parameter.
    for (AlxModule* group : { static_cast<AlxModule*> (inputGroup), static_cast<AlxModule*> (outputGroup) })
    {
        if (start)
            group->addSinkRecursive (this, false);
        else
            group->removeSinkRecursive (this, false);
    }
}

AlxMidiInputGroupModule* AlxMidiPanel::getMidiInputGroup() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxMidiInputGroupModule>() : nullptr;
}

AlxMidiOutputGroupModule* AlxMidiPanel::getMidiOutputGroup() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxMidiOutputGroupModule>() : nullptr;
}

bool AlxMidiPanel::handlePanelMessage (void*, int code, std::uint32_t)
{
    if (code != settingsCommand)
        return false;

    showMidiSettingsDialog();
    return true;
}

void AlxMidiPanel::showMidiSettingsDialog()
{
    auto* inputGroup = getMidiInputGroup();
    auto* outputGroup = getMidiOutputGroup();
    // A second request while the dialog is open (the menu and a device list both posted) would
    // stack a second dialog on the same managers.
    if (inputGroup == nullptr || outputGroup == nullptr || dialogOpen)
        return;

    AlxMidiDeviceSelectorComponent selector (*inputGroup->getDeviceManager(), *outputGroup->getDeviceManager());
    selector.setSize (570, 350);

    AlxDialogService::DialogOptions options;
    options.title = "Midi Settings";
    options.background = juce::Colour (0xffd3d3d3);
    options.centreAround = getEditor();
    options.escapeKeyCloses = true;
    options.nativeTitleBar = true;
    options.resizable = false;

    juce::Component::SafePointer<AlxMidiPanel> self (this);
    dialogOpen = true;
    AlxDialogService::getDefault().runModalDialog (options, selector);

    // The editor may have gone while the dialog ran its own message loop; the modules live on
    // with the processor.
    if (self != nullptr)
        dialogOpen = false;

    inputGroup->rebuildDeviceValues();
    outputGroup->rebuildDeviceValues();
}
