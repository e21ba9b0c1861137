#include "editor/AlxPanel.h"

#include "core/AlxFilter.h"
#include "editor/AlxEditor.h"

AlxPanel::AlxPanel (AlxEditor* editor_, const juce::String& title_, int preferredWidth_, int preferredHeight_, bool rowBreak_)
    : preferredWidth (preferredWidth_),
      preferredHeight (preferredHeight_),
      title (title_),
      editor (editor_),
      rowBreak (rowBreak_)
{
    // Not yet in a hierarchy, so the default look and feel (the editor installs ours before it
    // builds any panel) answers.
    panelColour = findColour (juce::ComboBox::backgroundColourId).brighter (0.5f).withAlpha (0.5f);
}

AlxPanel::~AlxPanel()
{
    if (content != nullptr)
        removeChildComponent (content);
    deleteAllChildren();
}

void AlxPanel::setContent (juce::Component* newContent, bool fill)
{
    if (content != nullptr)
        removeChildComponent (content);
    content = newContent;
    fillContent = fill;
    if (content != nullptr)
    {
        addAndMakeVisible (content);
        resized();
    }
}

AlxModuleContainer* AlxPanel::getModuleContainer() const
{
    auto* owner = getEditor();
    if (owner == nullptr)
        return nullptr;
    auto* processor = owner->getFilter();
    return processor != nullptr ? processor->getContainer() : nullptr;
}

bool AlxPanel::handlePanelMessage (void*, int, std::uint32_t)
{
    return false;
}

int AlxPanel::showMenu (juce::PopupMenu& menu, juce::Component& target)
{
    return menu.showMenu (juce::PopupMenu::Options().withTargetComponent (&target));
}

void AlxPanel::handleMessage (void* source, int code, std::uint32_t timeMs)
{
    handlePanelMessage (source, code, timeMs);
}

void AlxPanel::paint (juce::Graphics& g)
{
    juce::Path background;
    background.addRoundedRectangle (0.0f, 0.0f, (float) getWidth(), (float) getHeight(), 6.0f);
    g.setColour (getPanelColour());
    g.fillPath (background);
}

void AlxPanel::paintOverChildren (juce::Graphics& g)
{
    if (icon == nullptr)
        return;
    icon->draw (g, 1.0f, juce::AffineTransform::scale (0.09f).translated (6.0f, 6.0f));
    g.setColour (findColour (juce::AlertWindow::textColourId).darker (0.2f));
    g.drawLine ((float) iconColumnWidth, 7.0f, (float) iconColumnWidth, (float) (getHeight() - 7), 1.0f);
}

void AlxPanel::resized()
{
    if (content == nullptr)
        return;
    if (fillContent)
    {
        content->setBounds (getLocalBounds().reduced (6));
        return;
    }
    // Unfilled content is a viewport: centre it, no larger than what it shows.
    int width = getWidth() - 6, height = getHeight() - 6;
    if (auto* viewport = dynamic_cast<juce::Viewport*> (content))
        if (auto* viewed = viewport->getViewedComponent())
        {
            width = juce::jmin (viewed->getWidth(), width);
            height = juce::jmin (viewed->getHeight(), height);
        }
    content->setBounds (getLocalBounds().withSizeKeepingCentre (width, height));
}
