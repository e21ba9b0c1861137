#include "editor/AlxPlimsarEditor.h"

#include "AlxEmbeddedData.h"
#include "core/AlxFilter.h"
#include "editor/AlxArpPanel.h"
#include "editor/AlxCachedDrawables.h"
#include "editor/AlxCachedSVG.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxGroovePanel.h"
#include "editor/AlxHeaderPanel.h"
#include "editor/AlxHelpPanel.h"
#include "editor/AlxLFOPanel.h"
#include "editor/AlxMidiPanel.h"
#include "editor/AlxSynthPanel.h"
#include "editor/AlxTriggerPanel.h"
#include "framework/AlxModuleContainer.h"

namespace
{
    // Preferred size of a panel that may not exist yet (module panels arrive one by one).
    int widthOf (AlxPanel* panel) { return panel != nullptr ? panel->getPreferredWidth() : 0; }
    int heightOf (AlxPanel* panel) { return panel != nullptr ? panel->getPreferredHeight() : 0; }
    int currentWidthOf (AlxPanel* panel) { return panel != nullptr ? panel->getWidth() : 0; }
    int currentHeightOf (AlxPanel* panel) { return panel != nullptr ? panel->getHeight() : 0; }

    void placeAtPreferredSize (AlxPanel* panel, int x, int y)
    {
        if (panel != nullptr)
            panel->setBounds (x, y, panel->getPreferredWidth(), panel->getPreferredHeight());
    }
}

AlxPlimsarEditor::AlxPlimsarEditor (AlxFilter& owner)
    : AlxEditor (owner),
      lookAndFeel (AlxPlimsarLookAndFeel::acquire())
{
    // The size follows the panels alone (updateSize pins the constrainer to it); hosts are told
    // not to offer resizing.
    setConstrainer (&sizeConstrainer);
    setResizable (false, false);

    makerLogo = loadDrawableFromZip (AlxEmbeddedData::iconZip, AlxEmbeddedData::iconZipSize, "vendorlogo.svg");
    appLogo = loadDrawableFromZip (AlxEmbeddedData::helpZip, AlxEmbeddedData::helpZipSize, "applogo.svg");

    auto* container = owner.getContainer();
    auto* root = container != nullptr ? container->getRootModule() : nullptr;
    versionText.setFont (juce::Font (17.0f, juce::Font::bold), true);
    versionText.setText (root != nullptr ? displayedVersion (root->getVersionString()) : juce::String());
    versionText.setColour (juce::Colour (0xff6acdfe));

    // The panels, in display order.
    headerPanel = addPanel (std::make_unique<AlxHeaderPanel> (this));
    midiPanel = addPanel (std::make_unique<AlxMidiPanel> (this, midiPanelWidth));
    triggerPanel = addPanel (std::make_unique<AlxTriggerPanel> (this));
    groovePanel = addPanel (std::make_unique<AlxGroovePanel> (this));
    arpPanel = addPanel (std::make_unique<AlxArpPanel> (this));
    auto help = std::make_unique<AlxHelpPanel> (this);
    auto* helpArea = help.get();
    helpPanel = addPanel (std::move (help));
    lfoPanel = addPanel (std::make_unique<AlxLFOPanel> (this));
    synthPanel = addPanel (std::make_unique<AlxSynthPanel> (this, synthPanelWidth));

    registerHelpPages();
    // The column opens on the page it was left on (the help module keeps it with the state).
    helpArea->setPages (getHelpPageKeys());
    updateSize();
    owner.addSink (this);
}

AlxPlimsarEditor::~AlxPlimsarEditor()
{
    if (auto* owner = getFilter())
        owner->removeSink (this);

    setConstrainer (nullptr);
    deleteAllChildren();
}

AlxPanel* AlxPlimsarEditor::addPanel (std::unique_ptr<AlxPanel> panel)
{
    auto* added = panel.release();
    addAndMakeVisible (added);
    return added;
}

const juce::StringArray& AlxPlimsarEditor::getHelpPageKeys()
{
    static const juce::StringArray keys { "plimsar/aboutvstasio.svg", "plimsar/help1.svg", "plimsar/help2.svg",
                                          "plimsar/help3.svg" };
    return keys;
}

void AlxPlimsarEditor::registerHelpPages()
{
    auto* owner = getFilter();
    auto* container = owner != nullptr ? owner->getContainer() : nullptr;

    if (container == nullptr)
        return;

    // The cache lives with the processor: pages an earlier editor registered (and perhaps
    // already loaded) stay.
    for (const auto& key : getHelpPageKeys())
        container->getDrawableCache().put (key, std::make_unique<AlxCachedSVG> (AlxEmbeddedData::helpZip, AlxEmbeddedData::helpZipSize,
                                                                                key.fromFirstOccurrenceOf ("/", false, false)));
}

juce::String AlxPlimsarEditor::displayedVersion (const juce::String& versionString)
{
    const int lastDot = versionString.lastIndexOfChar ('.');
    return lastDot < 0 ? juce::String() : versionString.substring (0, lastDot);
}

void AlxPlimsarEditor::updateSize()
{
    int width = 0, height = 0;
    layout (0, 0, width, height, true);
    width = juce::jmax (0, width);
    height = juce::jmax (0, height);
    sizeConstrainer.setSizeLimits (width, height, width, height);
    setSize (width, height);
}

void AlxPlimsarEditor::resized()
{
    int width = 0, height = 0;
    layout (getWidth(), getHeight(), width, height, false);
}

void AlxPlimsarEditor::layout (int, int height, int& preferredWidth, int& preferredHeight, bool measureOnly)
{
    preferredWidth = widthOf (midiPanel) + widthOf (lfoPanel) + widthOf (helpPanel) + 28;
    const int leftColumn = heightOf (groovePanel) + heightOf (arpPanel) + heightOf (triggerPanel) + heightOf (midiPanel)
                         + heightOf (headerPanel) + 33;
    const int rightColumn = heightOf (synthPanel) + heightOf (lfoPanel) + heightOf (headerPanel) + 25;
    preferredHeight = juce::jmax (leftColumn, rightColumn);

    if (measureOnly)
        return;

    // Left of the header: the application logo and the version, drawn over the children.
    if (headerPanel != nullptr)
        headerPanel->setBounds (147, 7, preferredWidth - 154, headerPanel->getPreferredHeight());

    const int top = currentHeightOf (headerPanel) + 14;
    int y = top;

    for (auto* panel : { midiPanel, triggerPanel, groovePanel, arpPanel })
    {
        if (panel != nullptr)
        {
            placeAtPreferredSize (panel, 7, y);
            y = panel->getBottom() + 4;
        }
    }

    if (helpPanel != nullptr)
        helpPanel->setBounds (currentWidthOf (midiPanel) + 14, top, helpPanel->getPreferredWidth(),
                              preferredHeight - currentHeightOf (headerPanel) - 21);

    const int rightX = currentWidthOf (helpPanel) + currentWidthOf (midiPanel) + 21;
    placeAtPreferredSize (lfoPanel, rightX, top);

    if (synthPanel != nullptr)
    {
        const int synthTop = top + currentHeightOf (lfoPanel) + 4;
        // The synth panel takes whatever height is left, so a host that resizes the window
        // stretches only this panel.
        synthPanel->setBounds (rightX, synthTop, synthPanel->getPreferredWidth(), height - synthTop - 7);
    }
}

void AlxPlimsarEditor::paint (juce::Graphics& g)
{
    AlxLookAndFeel::fillScanLineBackground (g, juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ComboBox::backgroundColourId),
                                            getWidth(), getHeight());
}

void AlxPlimsarEditor::paintOverChildren (juce::Graphics& g)
{
    if (appLogo != nullptr)
        appLogo->draw (g, 1.0f, juce::AffineTransform::scale (0.3f, 0.29f).translated (15.0f, 15.0f));

    if (makerLogo != nullptr)
        makerLogo->draw (g, 1.0f, juce::AffineTransform::scale (0.22f).translated ((float) getWidth() - 100.0f, (float) getHeight() - 35.0f));

    versionText.draw (g, 1.0f, juce::AffineTransform::translation (115.0f, 17.0f));
}
