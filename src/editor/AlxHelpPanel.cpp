#include "editor/AlxHelpPanel.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxBrowserService.h"
#include "editor/AlxCachedDrawables.h"
#include "editor/AlxDialogService.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxDrawableLoader.h"
#include "editor/AlxEditor.h"
#include "editor/AlxHelpModule.h"
#include "editor/AlxManual.h"
#include "editor/AlxParamControl.h"
#include "framework/AlxModule.h"

#include <algorithm>

namespace
{
    const juce::String currentPageKey ("helpCurrentPage");
    const juce::String expandedKey ("helpExpanded");

    juce::Colour comboTextColour()
    {
        return juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ComboBox::textColourId);
    }
}

AlxHelpPanel::AlxHelpPanel (AlxEditor* owner)
    : AlxPanel (owner, "Help", 315, 600, false),
      expandIcon (loadDrawableFromZip (AlxEmbeddedData::iconZip, AlxEmbeddedData::iconZipSize, "expand.svg")),
      collapseIcon (loadDrawableFromZip (AlxEmbeddedData::iconZip, AlxEmbeddedData::iconZipSize, "collapse.svg")),
      manualFolder (AlxManual::findFolder())
{
    // A new editor keeps its size: the column starts collapsed, and opens on the page last read
    // (the About page in a fresh state). A panel without a help module stays open.
    auto* module = getHelpModule();
    expanded = module == nullptr;
    if (module != nullptr)
        currentPage = module->getPropertySet()->getIntValue (currentPageKey, 0);

    expandButton = std::make_unique<AlxDrawableButton> ("expandButton");
    expandButton->setClickingTogglesState (false);
    expandButton->setTooltip ("Expand or collapse");
    expandButton->setConnectedEdges (AlxParamControl::allEdgesConnected);
    expandButton->addListener (this);
    expandButton->setToggleState (true, juce::dontSendNotification);
    expandButton->setBounds (3, 3, 10, 10);
    addChildComponent (*expandButton);
    expandButton->setVisible (collapsible);

    showExpansion();
    selectPage (currentPage);

    if (module != nullptr)
        module->setHelpPanel (this);
}

AlxHelpPanel::~AlxHelpPanel()
{
    if (auto* module = getHelpModule(); module != nullptr && module->getHelpPanel() == this)
        module->setHelpPanel (nullptr);

    clearButtons();
    removeChildComponent (expandButton.get());
}

void AlxHelpPanel::setPages (const juce::StringArray& keys)
{
    pages = keys;
    selectPage (currentPage);
}

AlxHelpModule* AlxHelpPanel::getHelpModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->findModuleOf<AlxHelpModule>() : nullptr;
}

juce::Button* AlxHelpPanel::getExpandButton() const
{
    return expandButton.get();
}

juce::Colour AlxHelpPanel::expandedColour() const
{
    return comboTextColour().darker (0.2f);
}

void AlxHelpPanel::showExpansion()
{
    expandButton->setImages (expanded ? collapseIcon.get() : expandIcon.get());
    const bool open = expanded || ! collapsible;
    setPanelColour (open ? expandedColour() : expandedColour().withAlpha (0.5f));
    for (auto* button : buttons)
        button->setVisible (open);
    repaint();
}

int AlxHelpPanel::getPreferredWidth()
{
    return collapsible && ! expanded ? collapsedWidth : expandedWidth;
}

void AlxHelpPanel::setExpanded (bool shouldBeExpanded)
{
    expanded = shouldBeExpanded;
    showExpansion();

    if (auto* owner = getEditor())
        owner->updateSize();

    if (auto* module = getHelpModule())
        module->getPropertySet()->setValue (expandedKey, expanded);
}

void AlxHelpPanel::setCollapsible (bool shouldBeCollapsible)
{
    collapsible = shouldBeCollapsible;
    expandButton->setVisible (collapsible);
    showExpansion();
}

void AlxHelpPanel::showAboutPage()
{
    if (collapsible && ! expanded)
        setExpanded (true);
    selectPage (0);
}

void AlxHelpPanel::showHelpPage()
{
    if (collapsible && ! expanded)
        setExpanded (true);
    selectPage (1);
}

void AlxHelpPanel::selectPage (int n)
{
    clearButtons();
    currentPage = n;

    if (n >= 0 && n <= 9)
    {
        addPageButton (35, 5, 40, 15, 0, "About");
        addPageButton (80, 5, 40, 15, 1, "Help");
        if (n == 0)
        {
            addLinkButton (109, 134, 21, 11, "license", "here");
        }
        else if (pages.size() >= 3)
        {
            for (int i = 1; i < pages.size(); ++i)
                addPageButton (125 + 20 * (i - 1), 5, 20, 15, i, juce::String (i));
        }
    }

    if (auto* module = getHelpModule())
        module->getPropertySet()->setValue (currentPageKey, n);

    repaint();
}

void AlxHelpPanel::clearButtons()
{
    for (auto* button : buttons)
    {
        removeChildComponent (button);
        delete button;
    }
    buttons.clear();
    buttonTargets.clear();
    buttonLinks.clear();
}

void AlxHelpPanel::addPageButton (int x, int y, int w, int h, int targetPage, const juce::String& text)
{
    auto* button = new juce::TextButton();
    button->addListener (this);
    button->setColour (juce::TextButton::buttonColourId, comboTextColour().darker (0.2f));
    button->setColour (juce::TextButton::buttonOnColourId, comboTextColour().darker (0.7f));
    button->setColour (juce::TextButton::textColourOnId, juce::Colours::black.withAlpha (0.5f));
    button->setClickingTogglesState (false);
    button->setToggleState (currentPage == targetPage, juce::dontSendNotification);
    button->setConnectedEdges (AlxParamControl::allEdgesConnected);
    button->setButtonText (text);
    button->setBounds (x, y, w, h);
    addChildComponent (button);
    button->setVisible (expanded || ! collapsible);

    buttons.push_back (button);
    buttonTargets.push_back (targetPage);
    buttonLinks.add ({});
}

void AlxHelpPanel::addLinkButton (int x, int y, int w, int h, const juce::String& path, const juce::String& text)
{
    addPageButton (x, y, w, h, -1, text);
    buttonLinks.set (buttonLinks.size() - 1, path);
}

juce::URL AlxHelpPanel::composeUrl (const juce::String& path) const
{
    return AlxManual::pageFor (manualFolder, path);
}

void AlxHelpPanel::openLink (const juce::String& path)
{
    const auto page = composeUrl (path);
    if (page.isEmpty())
    {
        AlxDialogService::getDefault().showMessage (AlxDialogService::Icon::warning, "Help",
                                                    "The manual that comes with plimsar was not found beside the program, "
                                                    "so its page cannot be shown.");
        return;
    }

    if (! AlxBrowserService::getDefault().open (page))
        AlxDialogService::getDefault().showMessage (AlxDialogService::Icon::warning, "Help",
                                                    "No web browser could be started to show " + page.getLocalFile().getFullPathName());
}

void AlxHelpPanel::buttonClicked (juce::Button* button)
{
    if (button == expandButton.get())
    {
        setExpanded (! expanded);
        return;
    }

    const auto position = std::find (buttons.begin(), buttons.end(), button);
    if (position == buttons.end())
        return;

    const auto index = (size_t) std::distance (buttons.begin(), position);
    // Both rebuild the buttons, this one included: nothing of it is used afterwards.
    if (buttonTargets[index] >= 0)
        selectPage (buttonTargets[index]);
    else
        openLink (buttonLinks[(int) index]);
}

void AlxHelpPanel::paintOverChildren (juce::Graphics& g)
{
    if (collapsible && ! expanded)
        return;

    if (! juce::isPositiveAndBelow (currentPage, pages.size()) || pages[currentPage].isEmpty())
        return;

    auto* container = getModuleContainer();
    auto* entry = container != nullptr ? container->getDrawableCache().get (pages[currentPage]) : nullptr;
    if (auto* drawable = entry != nullptr ? entry->getDrawable() : nullptr)
        drawable->draw (g, 1.0f, juce::AffineTransform::scale (0.4f, 0.39f).translated (0.0f, 20.0f));

    auto* root = container != nullptr ? container->getRootModule() : nullptr;
    if (currentPage != 0 || root == nullptr)
        return;

    const juce::String bits (sizeof (void*) * 8);
    g.setColour (juce::Colours::black);
    g.setFont (getLookAndFeel().getPopupMenuFont());
    g.drawFittedText (root->getVersionString() + " " + bits + "-bit", 230, 70, 120, 20,
                      juce::Justification::centredLeft, 1, 0.7f);
}
