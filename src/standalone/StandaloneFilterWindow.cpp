#include "standalone/StandaloneFilterWindow.h"

#include "standalone/AlxJackMessages.h"
#include "standalone/AlxStandaloneSettings.h"
#include "standalone/AlxWindowPlacement.h"

namespace
{
    constexpr int numInputChannels = 0;
    constexpr int numOutputChannels = 2;

    // How often a missing audio device is looked for again.
    constexpr int deviceRetryIntervalMs = 2000;
}

StandaloneFilterWindow::StandaloneFilterWindow (const juce::String& title, juce::Colour backgroundColour,
                                                std::unique_ptr<juce::PropertySet> settingsToOwn, bool onDesktop)
    : juce::DocumentWindow (title, backgroundColour,
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton, onDesktop),
      settings (std::move (settingsToOwn)),
      baseTitle (title)
{
    setTitleBarButtonsRequired (juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton, false);

    // A ResizableWindow warns about children other than its content; the button is meant to sit
    // in the title bar.
    Component::addAndMakeVisible (optionsButton);
    optionsButton.addListener (this);
    optionsButton.setTriggeredOnMouseDown (true);

    createFilter();
    filter->setPlayConfigDetails (numInputChannels, numOutputChannels, 44100.0, 512);

    deviceManager = std::make_unique<juce::AudioDeviceManager>();
    deviceManager->addAudioCallback (&player);
    deviceManager->addMidiInputDeviceCallback ({}, &player);
    player.setProcessor (filter.get());

    // The JACK library reports a missing server on the console at every attempt to reach it;
    // the title already tells whether a device is open.
    AlxJackMessages::silence();

    // An unusable saved setup falls back to the default device; no device at all is not an
    // error for the application, only for the sound.
    const auto error = openAudioDevice (AlxStandaloneSettings::getAudioSetup (*settings).get());

    if (error.isNotEmpty())
        juce::Logger::outputDebugString ("audio device: " + error);

    deviceManager->addChangeListener (this);
    updateTitle();
    startTimer (deviceRetryIntervalMs);

    AlxStandaloneSettings::restoreFilterState (*settings, *filter);
    showEditor();
    placeWindow();
}

StandaloneFilterWindow::~StandaloneFilterWindow()
{
    stopTimer();
    AlxStandaloneSettings::storeWindowPosition (*settings, getPosition());
    AlxStandaloneSettings::storeAudioSetup (*settings, *deviceManager);

    // The device stops before the state is taken, so no block runs while it is written.
    deviceManager->removeChangeListener (this);
    deviceManager->removeMidiInputDeviceCallback ({}, &player);
    deviceManager->removeAudioCallback (&player);
    deviceManager.reset();

    if (filter != nullptr)
        AlxStandaloneSettings::storeFilterState (*settings, *filter);

    deleteFilter();
}

bool StandaloneFilterWindow::hasAudioDevice() const
{
    // A device whose server went away stays current, but closed.
    auto* device = deviceManager != nullptr ? deviceManager->getCurrentAudioDevice() : nullptr;
    return device != nullptr && device->isOpen();
}

juce::String StandaloneFilterWindow::openAudioDevice (const juce::XmlElement* setup)
{
    return deviceManager->initialise (filter->getTotalNumInputChannels(), filter->getTotalNumOutputChannels(),
                                      setup, true);
}

void StandaloneFilterWindow::timerCallback()
{
    // A lost device, a chosen one that is missing, or none chosen yet are all worth another
    // look; only a setup in which the user chose no output at all is left as it is.
    const auto setup = deviceManager->createStateXml();

    if (hasAudioDevice() || (setup != nullptr && setup->getStringAttribute ("audioOutputDeviceName").isEmpty()))
        return;

    // The device list is read again, so a server that came back is found; the setup in use
    // (the one the user chose, when there is one) is tried first, then the default device.
    // A failure here is not reported: the title says it, and the next look may succeed.
    deviceManager->closeAudioDevice();

    for (auto* type : deviceManager->getAvailableDeviceTypes())
        type->scanForDevices();

    openAudioDevice (setup.get());
    updateTitle();
}

void StandaloneFilterWindow::createFilter()
{
    // The processor asks which wrapper created it while it is being constructed.
    juce::PluginHostType::jucePlugInClientCurrentWrapperType = juce::AudioProcessor::wrapperType_Standalone;
    auto newFilter = std::make_unique<AlxPlimsarFilter>();
    juce::PluginHostType::jucePlugInClientCurrentWrapperType = juce::AudioProcessor::wrapperType_Undefined;

    newFilter->initialise();
    filter = std::move (newFilter);
}

void StandaloneFilterWindow::deleteFilter()
{
    player.setProcessor (nullptr);

    // The processor keeps a pointer to its editor until it is told that the editor goes away.
    if (auto* editor = dynamic_cast<juce::AudioProcessorEditor*> (getContentComponent()); editor != nullptr && filter != nullptr)
    {
        filter->editorBeingDeleted (editor);
        clearContentComponent();
    }

    filter.reset();
}

void StandaloneFilterWindow::resetFilter()
{
    deleteFilter();
    createFilter();

    if (deviceManager != nullptr)
        player.setProcessor (filter.get());

    showEditor();
    AlxStandaloneSettings::forgetFilterState (*settings);
}

void StandaloneFilterWindow::showEditor()
{
    setContentOwned (filter->createEditorIfNeeded(), true);
}

void StandaloneFilterWindow::placeWindow()
{
    const auto bounds = AlxWindowPlacement::choose (AlxStandaloneSettings::getWindowPosition (*settings),
                                                    getWidth(), getHeight(), AlxWindowPlacement::connectedScreens());

    if (auto* sizeConstrainer = getConstrainer())
        sizeConstrainer->setBoundsForComponent (this, bounds, false, false, false, false);
    else
        setBounds (bounds);

    if (isOnDesktop())
        framedPlacement.keep (getPosition());
}

void StandaloneFilterWindow::resized()
{
    juce::DocumentWindow::resized();
    const int buttonHeight = juce::jmin (getTitleBarHeight(), getHeight() - 4) - 8;
    optionsButton.setBounds (8, 6, 60, juce::jmax (0, buttonHeight));
}

void StandaloneFilterWindow::closeButtonPressed()
{
    juce::JUCEApplication::quit();
}

void StandaloneFilterWindow::changeListenerCallback (juce::ChangeBroadcaster*)
{
    updateTitle();
}

void StandaloneFilterWindow::updateTitle()
{
    setName (hasAudioDevice() ? baseTitle : baseTitle + " (no audio device)");
}
