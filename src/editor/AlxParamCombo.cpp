#include "editor/AlxParamCombo.h"

#include "editor/AlxComboBox.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxLabel.h"

namespace
{
    const juce::String controlClass ("AlxParamCombo");
    constexpr int buttonSize = 19;
}

AlxParamCombo::AlxParamCombo (AlxEditor* owner, int labelWidth_, int fieldWidth_)
    : AlxParamControl (owner),
      labelWidth (labelWidth_ != 0 ? labelWidth_ : defaultLabelWidth),
      fieldWidth (fieldWidth_ != 0 ? fieldWidth_ : defaultFieldWidth),
      wheelIcon (loadIcon ("mousewheel.svg")),
      modulateIcon (loadIcon ("modulate.svg")),
      decreaseIcon (loadIcon ("decrease.svg")),
      increaseIcon (loadIcon ("increase.svg"))
{
    nameLabel = new AlxLabel ("nameLabel", {});
    nameLabel->setJustificationType (juce::Justification::centredRight);
    addAndMakeVisible (nameLabel);

    wheelButton = addWheelButton (wheelIcon.get(), this);
    modulationButton = addModulationButton (modulateIcon.get(), "Select LFO for modulation of this parameter", this);

    combo = new AlxComboBox ("combo");
    combo->addListener (this);
    addAndMakeVisible (combo);

    decreaseButton = addIconButton ("decreaseButton", decreaseIcon.get(), false, {}, this);
    increaseButton = addIconButton ("increaseButton", increaseIcon.get(), false, {}, this);

    resized();
}

void AlxParamCombo::resized()
{
    nameLabel->setBounds (0, 0, labelWidth, buttonSize);
    wheelButton->setBounds (labelWidth + 6, 0, buttonSize, buttonSize);
    int x = labelWidth + 24;
    int comboWidth = fieldWidth;
    const bool withModulation = hasModulationSource();
    modulationButton->setVisible (withModulation);
    if (withModulation)
    {
        modulationButton->setBounds (x, 0, buttonSize, buttonSize);
        comboWidth = fieldWidth - buttonSize;
        x = labelWidth + 42;
    }
    // The buttons overlap the list and each other by one pixel, so their borders merge.
    combo->setBounds (x, 0, comboWidth, buttonSize);
    decreaseButton->setBounds (x + comboWidth - 1, 0, buttonSize, buttonSize);
    increaseButton->setBounds (x + comboWidth + 17, 0, buttonSize, buttonSize);
}

int AlxParamCombo::getPreferredWidth()
{
    return increaseButton->getRight() + 1;
}

int AlxParamCombo::getPreferredHeight()
{
    return increaseButton->getHeight();
}

void AlxParamCombo::parameterAttached()
{
    resized();
    updateModulationState();
}

void AlxParamCombo::refreshItems (bool reselect)
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    const int selected = combo->getSelectedId();
    nameLabel->setText ({}, juce::dontSendNotification);
    combo->clear (juce::dontSendNotification);
    nameLabel->setText (p->getName().toLowerCase(), juce::dontSendNotification);
    nameLabel->setTooltip (p->getDescription());

    auto* domain = p->getDomain();
    const auto& values = domain->getValues();
    for (int i = 0; i < (int) values.size(); ++i)
        combo->addItem (values[(size_t) i]->getShortText(), i + 1);
    const auto& commands = domain->getCommands();
    if (! commands.empty())
    {
        combo->addSeparator();
        for (const auto& command : commands)
            combo->addItem (command->getText(), combo->getNumItems() + 1);
    }
    if (reselect)
        combo->setSelectedId (selected, juce::dontSendNotification);
}

void AlxParamCombo::refreshValue()
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    // Showing the value is silent: only the user's own choices are written back.
    combo->setSelectedId (p->getValueIndex() + 1, juce::dontSendNotification);
    auto* value = p->getValue();
    combo->setTooltip (value != nullptr ? value->getLongText() : juce::String());
    setEnabled (p->isEnabled());
    updateModulationState();
}

void AlxParamCombo::refreshFocused()
{
    showWheelAssignment (*wheelButton);
}

void AlxParamCombo::updateModulationState()
{
    const bool modulated = showModulation (*modulationButton);
    for (auto* part : { static_cast<juce::Component*> (combo), static_cast<juce::Component*> (increaseButton),
                        static_cast<juce::Component*> (decreaseButton), static_cast<juce::Component*> (wheelButton) })
        part->setEnabled (! modulated);
}

void AlxParamCombo::comboBoxChanged (juce::ComboBox*)
{
    auto* p = getParameter();
    const int id = combo->getSelectedId();
    if (p == nullptr || id <= 0)
        return;

    const juce::ScopedLock sl (p->getLock());
    auto* domain = p->getDomain();
    const int commandCount = (int) domain->getCommands().size();
    const int valueItems = combo->getNumItems() - commandCount;
    if (id > valueItems)
    {
        // A command is an action, not a value: the list goes back to showing the value.
        combo->setSelectedId (p->getValueIndex() + 1, juce::dontSendNotification);
        const int command = id - valueItems - 1;
        if (command < commandCount)
            domain->postCommand (domain->getCommands()[(size_t) command].get());
        return;
    }

    // An item whose text is no longer the value at its place belongs to a list the domain has
    // replaced since: as stale as a place past its end.
    const auto& values = domain->getValues();
    const int position = id - 1;
    if (position < (int) values.size() && values[(size_t) position]->getShortText() != combo->getItemText (position))
    {
        juce::Logger::outputDebugString (overflowLine (controlClass));
        return;
    }
    writePosition (position, controlClass);
}

AlxValue* AlxParamCombo::steppedValue (bool up) const
{
    auto* p = getParameter();
    const juce::ScopedLock sl (p->getLock());
    auto* domain = p->getDomain();
    return up ? domain->nextValue (p->getValue(), 1) : domain->previousValue (p->getValue(), 1);
}

void AlxParamCombo::buttonClicked (juce::Button* button)
{
    if (getParameter() == nullptr || handleWheelOrModulationClick (button, *wheelButton, *modulationButton))
        return;

    if (button == increaseButton || button == decreaseButton)
    {
        const juce::ScopedLock sl (getParameter()->getLock());
        writeBack (steppedValue (button == increaseButton));
    }
}
