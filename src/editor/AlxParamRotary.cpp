#include "editor/AlxParamRotary.h"

#include "editor/AlxDrawableButton.h"
#include "editor/AlxLabel.h"
#include "editor/AlxSlider.h"
#include "framework/AlxNumberText.h"

namespace
{
    const juce::String controlClass ("AlxParamRotary");
    constexpr int buttonSize = 19;
    // Full-range drag distance in pixels, for domains of many values.
    constexpr int maximumDragDistance = 50;
}

AlxParamRotary::AlxParamRotary (AlxEditor* owner)
    : AlxParamControl (owner),
      wheelIcon (loadIcon ("mousewheel.svg")),
      modulateIcon (loadIcon ("modulate.svg"))
{
    nameLabel = new AlxLabel ("nameLabel", {});
    nameLabel->setJustificationType (juce::Justification::centred);
    addAndMakeVisible (nameLabel);

    wheelButton = addWheelButton (wheelIcon.get(), this);
    modulationButton = addModulationButton (modulateIcon.get(), "Assign a modulation source to this parameter", this);

    valueBox = new AlxLabel ("valueBox", "000.0");
    valueBox->setJustificationType (juce::Justification::centred);
    valueBox->setEditable (true, false);
    auto& colours = getLookAndFeel();
    valueBox->setColour (juce::Label::backgroundColourId, colours.findColour (juce::ComboBox::backgroundColourId));
    valueBox->setColour (juce::Label::textColourId, colours.findColour (juce::ComboBox::textColourId));
    valueBox->setColour (juce::TextEditor::textColourId, colours.findColour (juce::ComboBox::textColourId));
    valueBox->setColour (juce::Label::outlineColourId, colours.findColour (juce::ComboBox::outlineColourId));
    valueBox->addListener (this);
    addAndMakeVisible (valueBox);

    knob = new AlxSlider ("knob");
    knob->setRange (0.0, 100.0, 1.0);
    knob->setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob->setTextBoxStyle (juce::Slider::NoTextBox, false, 80, 20);
    knob->addListener (this);
    addAndMakeVisible (knob);

    setLayoutStyle (1);
    resized();
    updateModulationState();
}

AlxParamRotary::~AlxParamRotary()
{
    setParameter (nullptr);
}

void AlxParamRotary::setParameter (AlxParameter* newParameter)
{
    if (dragging)
        setDragging (false);
    AlxParamControl::setParameter (newParameter);
}

void AlxParamRotary::layoutParts (int& width, int& height, bool measureOnly)
{
    int x = buttonSize;
    const bool withModulation = hasModulationSource();
    if (! measureOnly)
    {
        nameLabel->setBounds (-5, 26, 65, buttonSize);
        wheelButton->setBounds (0, 7, buttonSize, buttonSize);
        modulationButton->setVisible (withModulation);
        if (withModulation)
            modulationButton->setBounds (buttonSize, 7, buttonSize, buttonSize);
    }
    if (withModulation)
        x = 37;
    if (! measureOnly)
    {
        valueBox->setBounds (x, 7, 40, buttonSize);
        knob->setBounds (x + 35, 9, 37, 31);

        // A disc whose top-left quarter is square: that corner meets the value box.
        backing.clear();
        backing.startNewSubPath (23.0f, 0.0f);
        backing.cubicTo (36.0f, 0.0f, 46.0f, 10.0f, 46.0f, 22.0f);
        backing.cubicTo (46.0f, 34.0f, 36.0f, 44.0f, 23.0f, 44.0f);
        backing.cubicTo (10.0f, 44.0f, 0.0f, 34.0f, 0.0f, 22.0f);
        backing.lineTo (0.0f, 0.0f);
        backing.closeSubPath();
    }
    width = x + 72;
    height = 44;
}

void AlxParamRotary::resized()
{
    int width = 0, height = 0;
    layoutParts (width, height, false);
}

int AlxParamRotary::getPreferredWidth()
{
    int width = 0, height = 0;
    layoutParts (width, height, true);
    return width;
}

int AlxParamRotary::getPreferredHeight()
{
    int width = 0, height = 0;
    layoutParts (width, height, true);
    return height;
}

void AlxParamRotary::paint (juce::Graphics& g)
{
    g.setColour (findColour (juce::ComboBox::backgroundColourId));
    g.fillPath (backing, juce::AffineTransform::scale (0.8f).translated ((float) valueBox->getRight() - 5.0f,
                                                                         (float) valueBox->getY()));
}

void AlxParamRotary::parameterAttached()
{
    resized();
    updateModulationState();
}

void AlxParamRotary::refreshItems (bool)
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    nameLabel->setText ({}, juce::dontSendNotification);
    valueBox->setText ({}, juce::dontSendNotification);
    nameLabel->setText (p->getName().toLowerCase(), juce::dontSendNotification);
    const auto description = p->getDescription();
    for (auto* client : { static_cast<juce::SettableTooltipClient*> (this), static_cast<juce::SettableTooltipClient*> (knob),
                          static_cast<juce::SettableTooltipClient*> (nameLabel), static_cast<juce::SettableTooltipClient*> (valueBox) })
        client->setTooltip (description);

    const int count = p->getDomain()->getNumValues();
    knobHasRange = count >= 2;
    if (knobHasRange)
    {
        knob->setRange (0.0, (double) (count - 1), 1.0);
        knob->setMouseDragSensitivity (juce::jmin (count - 1, maximumDragDistance));
    }
}

void AlxParamRotary::refreshValue()
{
    auto* p = getParameter();
    if (p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    auto* value = p->getValue();
    valueBox->setText (value != nullptr ? value->getText() : juce::String(), juce::dontSendNotification);
    const int index = p->getValueIndex();
    if ((int) knob->getValue() != index && ! dragging)
    {
        knob->setValue ((double) index, juce::dontSendNotification);
        if (value != nullptr && value->getLongText().isNotEmpty())
        {
            valueBox->setTooltip (value->getLongText());
            knob->setTooltip (value->getLongText());
        }
    }
    setEnabled (p->isEnabled());
    updateModulationState();
}

void AlxParamRotary::refreshFocused()
{
    showWheelAssignment (*wheelButton);
}

void AlxParamRotary::updateModulationState()
{
    const bool modulated = showModulation (*modulationButton);
    wheelButton->setEnabled (! modulated);
    valueBox->setEnabled (! modulated);
    knob->setEnabled (! modulated && knobHasRange);
}

void AlxParamRotary::buttonClicked (juce::Button* button)
{
    if (getParameter() != nullptr)
        handleWheelOrModulationClick (button, *wheelButton, *modulationButton);
}

void AlxParamRotary::sliderValueChanged (juce::Slider*)
{
    writePosition ((int) knob->getValue(), controlClass);
}

void AlxParamRotary::setDragging (bool isDragging)
{
    dragging = isDragging;
    if (auto* p = getParameter())
    {
        const juce::ScopedLock sl (p->getLock());
        p->setGestureActive (isDragging);
    }
}

void AlxParamRotary::sliderDragStarted (juce::Slider*)
{
    setDragging (true);
}

void AlxParamRotary::sliderDragEnded (juce::Slider*)
{
    setDragging (false);
}

void AlxParamRotary::labelTextChanged (juce::Label* label)
{
    auto* p = getParameter();
    if (label != valueBox || p == nullptr)
        return;

    const juce::ScopedLock sl (p->getLock());
    writeBack (p->getDomain()->findByParsedText (AlxNumberText::toDouble (valueBox->getText())));
    // Text that names no value snaps back to the current one.
    refreshValue();
}
