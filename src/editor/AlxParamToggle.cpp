#include "editor/AlxParamToggle.h"

#include "editor/AlxTextButton.h"

namespace
{
    const juce::String controlClass ("AlxParamToggle");
    constexpr int buttonHeight = 19;
}

AlxParamToggle::AlxParamToggle (AlxEditor* owner, int width)
    : AlxParamControl (owner), buttonWidth (width != 0 ? width : defaultWidth)
{
}

void AlxParamToggle::layoutButton (int& width, int& height, bool measureOnly)
{
    width = button != nullptr ? buttonWidth : 0;
    height = buttonHeight;
    if (! measureOnly && button != nullptr)
        button->setBounds (0, 0, width, height);
}

void AlxParamToggle::resized()
{
    int width = 0, height = 0;
    layoutButton (width, height, false);
}

int AlxParamToggle::getPreferredWidth()
{
    int width = 0, height = 0;
    layoutButton (width, height, true);
    return width;
}

int AlxParamToggle::getPreferredHeight()
{
    int width = 0, height = 0;
    layoutButton (width, height, true);
    return height;
}

void AlxParamToggle::refreshItems (bool)
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    delete button;
    button = new AlxTextButton (juce::String());
    button->setButtonText (p->getName().toLowerCase());
    button->setClickingTogglesState (true);
    button->setTooltip (p->getDescription());
    button->setToggleState (p->getValueIndex() == 1, juce::dontSendNotification);
    button->setConnectedEdges (allEdgesConnected);
    button->addListener (this);
    addAndMakeVisible (button);
    resized();
}

void AlxParamToggle::refreshValue()
{
    auto* p = getParameter();
    if (p == nullptr || button == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    button->setToggleState (p->getValueIndex() == 1, juce::dontSendNotification);
    button->setEnabled (p->isEnabled());
}

void AlxParamToggle::buttonClicked (juce::Button*)
{
    writePosition (button->getToggleState() ? 1 : 0, controlClass);
}
