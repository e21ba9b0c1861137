#include "editor/AlxMidiDeviceSelectorComponent.h"

#include "editor/AlxLabel.h"
#include "editor/AlxLookAndFeel.h"

namespace
{
    std::unique_ptr<AlxLabel> makeListLabel (const juce::String& name, const juce::String& text, juce::Component& list)
    {
        auto label = std::make_unique<AlxLabel> (name, text);
        label->setJustificationType (juce::Justification::top);
        label->attachToComponent (&list, false);
        return label;
    }
}

AlxMidiDeviceSelectorComponent::AlxMidiDeviceSelectorComponent (AlxMidiInputDeviceManager& inputManager_,
                                                                AlxMidiOutputDeviceManager& outputManager_)
    : inputManager (inputManager_),
      outputManager (outputManager_),
      inputList (std::make_unique<MidiInputListBox> ("midi", inputManager_)),
      outputList (std::make_unique<MidiOutputListBox> ("midiout", outputManager_))
{
    addAndMakeVisible (*inputList);
    addAndMakeVisible (*outputList);
    inputLabel = makeListLabel ("lm", "ACTIVE MIDI INPUTS  ", *inputList);
    outputLabel = makeListLabel ("lmout", "ACTIVE MIDI OUTPUTS  ", *outputList);

    inputManager.addChangeListener (this);
    outputManager.addChangeListener (this);
    changeListenerCallback (nullptr);
}

AlxMidiDeviceSelectorComponent::~AlxMidiDeviceSelectorComponent()
{
    inputManager.removeChangeListener (this);
    outputManager.removeChangeListener (this);
}

void AlxMidiDeviceSelectorComponent::changeListenerCallback (juce::ChangeBroadcaster*)
{
    for (juce::ListBox* list : { static_cast<juce::ListBox*> (inputList.get()), static_cast<juce::ListBox*> (outputList.get()) })
    {
        list->updateContent();
        list->repaint();
    }
    resized();
}

void AlxMidiDeviceSelectorComponent::resized()
{
    inputList->setBounds (30, 50, 250, 273);
    outputList->setBounds (inputList->getWidth() + 42, 50, 250, 273);
}

void AlxMidiDeviceSelectorComponent::paint (juce::Graphics& g)
{
    // The editor's own background, so the dialog looks like a part of it.
    AlxLookAndFeel::fillScanLineBackground (g, juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ComboBox::backgroundColourId),
                                            getWidth(), getHeight());

    juce::Path frame;
    frame.addRoundedRectangle (10.0f, 10.0f, (float) getWidth() - 20.0f, (float) getHeight() - 20.0f, 6.0f);
    g.setColour (getLookAndFeel().findColour (juce::AlertWindow::backgroundColourId).brighter (0.5f).withAlpha (0.5f));
    g.fillPath (frame);
}
