#pragma once

#include "framework/AlxMessageSink.h"
#include "framework/AlxMessageSource.h"
#include "framework/AlxModuleContainer.h"

#include <juce_gui_basics/juce_gui_basics.h>

class AlxEditor;

// Every rectangular area of the editor: module panels, the header, the help area, status views
// and each parameter control. A panel has a preferred size that its parent's layout asks for, a
// rounded background, an optional icon in a left gutter, and reaches the processor's module
// container through the editor. Messages it receives go to handlePanelMessage.
class AlxPanel : public juce::Component,
                 public juce::SettableTooltipClient,
                 public AlxMessageSource,
                 public AlxMessageSink
{
public:
    AlxPanel (AlxEditor* editor, const juce::String& title, int preferredWidth, int preferredHeight, bool rowBreak);
    // Deletes the children added with addAndMakeVisible (panels own their child components).
    ~AlxPanel() override;

    virtual int getPreferredHeight() { return preferredHeight; }
    virtual int getPreferredWidth() { return preferredWidth; }
    virtual void setPreferredWidth (int width) { preferredWidth = width; }
    virtual void setPreferredHeight (int height) { preferredHeight = height; }
    virtual void setPanelColour (juce::Colour colour) { panelColour = colour; }
    virtual juce::Colour getPanelColour() const { return panelColour; }
    virtual juce::Component* getContent() const { return content; }
    // Replaces the content component (the previous one is removed, not deleted). With fill the
    // content covers the panel less a 6-pixel inset; otherwise it is a viewport centred in it.
    virtual void setContent (juce::Component* newContent, bool fill);
    // Gap a flow layout adds around the panel.
    virtual int getSpacing() const { return 0; }
    // Extra x offset when the panel starts a row.
    virtual int getIndent() const { return 0; }
    virtual void setRowBreak (bool shouldBreak) { rowBreak = shouldBreak; }
    virtual bool hasRowBreak() const { return rowBreak; }
    // The icon is not owned: whoever sets it deletes it.
    virtual void setIcon (juce::Drawable* newIcon) { icon = newIcon; }
    virtual juce::Drawable* getIcon() const { return icon; }
    virtual AlxEditor* getEditor() const { return editor; }
    virtual AlxModuleContainer* getModuleContainer() const;
    // The module of a class that names its module id (moduleId) in the editor's processor, or null.
    template <typename ModuleClass>
    ModuleClass* findModuleOf() const
    {
        auto* container = getModuleContainer();
        return container != nullptr ? container->findModuleOf<ModuleClass>() : nullptr;
    }
    virtual bool handlePanelMessage (void* source, int code, std::uint32_t timeMs);
    // Shows a menu at the given component and returns the chosen item id, 0 when dismissed.
    virtual int showMenu (juce::PopupMenu& menu, juce::Component& target);

    const juce::String& getTitle() const { return title; }

    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void resized() override;

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

    // Width of the icon gutter; parameter panels start their rows right of it.
    static constexpr int iconColumnWidth = 33;

private:
    juce::Drawable* icon = nullptr;
    int preferredWidth;
    int preferredHeight;
    juce::String title;
    juce::Colour panelColour;
    juce::Component* content = nullptr;
    bool fillContent = false;
    AlxEditor* editor;
    bool rowBreak;

    JUCE_DECLARE_NON_COPYABLE (AlxPanel)
};
