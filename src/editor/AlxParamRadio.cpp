#include "editor/AlxParamRadio.h"

#include "editor/AlxDrawableButton.h"
#include "editor/AlxLabel.h"

#include <algorithm>

namespace
{
    const juce::String controlClass ("AlxParamRadio");
    constexpr int buttonSize = 19;
    constexpr int radioGroup = 1;
}

AlxParamRadio::AlxParamRadio (AlxEditor* owner) : AlxParamControl (owner)
{
    for (size_t i = 0; i < icons.size(); ++i)
        icons[i] = loadIcon ("radio" + juce::String ((int) i + 1) + ".svg");
}

void AlxParamRadio::layoutButtons (int& width, int& height, bool measureOnly)
{
    width = buttonSize * (int) buttons.size();
    height = 2 * buttonSize;
    if (measureOnly)
        return;
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setBounds (buttonSize * (int) i, 0, buttonSize, buttonSize);
    if (nameLabel != nullptr)
        nameLabel->setBounds (0, buttonSize, width, buttonSize);
}

void AlxParamRadio::resized()
{
    int width = 0, height = 0;
    layoutButtons (width, height, false);
}

int AlxParamRadio::getPreferredWidth()
{
    int width = 0, height = 0;
    layoutButtons (width, height, true);
    return width;
}

int AlxParamRadio::getPreferredHeight()
{
    int width = 0, height = 0;
    layoutButtons (width, height, true);
    return height;
}

void AlxParamRadio::refreshItems (bool)
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    buttons.clear();
    nameLabel = nullptr;
    deleteAllChildren();

    nameLabel = new AlxLabel ("nameLabel", {});
    nameLabel->setJustificationType (juce::Justification::centred);
    nameLabel->setText (p->getName(), juce::sendNotification);
    nameLabel->setTooltip (p->getDescription());
    addAndMakeVisible (nameLabel);

    const auto& values = p->getDomain()->getValues();
    for (size_t i = 0; i < values.size(); ++i)
    {
        // Values past the fifth have no icon; the button still works, drawn without an image.
        const auto* image = i < icons.size() ? icons[i].get() : nullptr;
        auto* button = addIconButton (values[i]->getText(), image, true, values[i]->getLongText(), this);
        button->setRadioGroupId (radioGroup);
        buttons.push_back (button);
    }
    resized();
}

void AlxParamRadio::refreshValue()
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    const int index = p->getValueIndex();
    if (index >= 0 && index < (int) buttons.size())
        buttons[(size_t) index]->setToggleState (true, juce::dontSendNotification);
    // A disabled parameter takes no click on any of its buttons.
    const bool enabled = p->isEnabled();
    for (auto* button : buttons)
        button->setEnabled (enabled);
}

void AlxParamRadio::buttonClicked (juce::Button* button)
{
    // The radio group reports the button it turns off as clicked too: only the one turned on
    // names the user's choice.
    if (! button->getToggleState())
        return;
    const auto it = std::find (buttons.begin(), buttons.end(), button);
    if (it != buttons.end())
        writePosition ((int) (it - buttons.begin()), controlClass);
}
