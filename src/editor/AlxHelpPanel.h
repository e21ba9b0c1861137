#pragma once

#include "editor/AlxPanel.h"

#include <memory>
#include <vector>

class AlxDrawableButton;
class AlxHelpModule;

// The help column of the editor: the About page and the help pages (artwork from the drawables
// cache), small buttons to move between them, a link to the licence, and a button that collapses
// the column to a thin strip or expands it again (the editor grows and shrinks with it). The
// product's pages (home, manual, what's new, licence) are pages of the manual that ships with
// the program, opened as local files in the browser.
//
// The page shown and whether the column is open are kept in the help module's property set, so
// they travel with the saved state; a new editor starts with the column collapsed (its size does
// not change from one opening to the next) and opens it on the page last read. The panel
// attaches itself to the help module, which hands it the help commands of the menus.
class AlxHelpPanel : public AlxPanel, public juce::Button::Listener
{
public:
    explicit AlxHelpPanel (AlxEditor* editor);
    ~AlxHelpPanel() override;

    // Drawables-cache keys of the pages; the page number is the position (0 is the About page).
    // The current page's buttons are made again for them.
    virtual void setPages (const juce::StringArray& keys);
    // Where the manual is (by default beside the running program).
    virtual void setManualFolder (const juce::File& folder) { manualFolder = folder; }
    virtual juce::File getManualFolder() const { return manualFolder; }
    // Shows page n with its buttons and remembers it; a page without artwork shows only buttons.
    virtual void selectPage (int n);
    virtual int getCurrentPage() const { return currentPage; }
    virtual void setExpanded (bool shouldBeExpanded);
    virtual bool isExpanded() const { return expanded; }
    virtual void showAboutPage();
    virtual void showHelpPage();
    // Opens the manual's page for a product path ("" home, "manual", "license", "updates...");
    // tells the user when there is no such page or no browser took it.
    virtual void openLink (const juce::String& path);
    virtual bool isCollapsible() const { return collapsible; }
    virtual void setCollapsible (bool shouldBeCollapsible);
    virtual void clearButtons();
    virtual void addLinkButton (int x, int y, int w, int h, const juce::String& path, const juce::String& text);
    virtual void addPageButton (int x, int y, int w, int h, int targetPage, const juce::String& text);
    virtual AlxHelpModule* getHelpModule() const;
    // The manual's page for a product path; empty when there is none.
    virtual juce::URL composeUrl (const juce::String& path) const;

    // The navigation and link buttons of the current page, in order.
    const std::vector<juce::TextButton*>& getButtons() const { return buttons; }
    juce::Button* getExpandButton() const;

    int getPreferredWidth() override;
    int getPreferredHeight() override { return 470; }

    void paintOverChildren (juce::Graphics& g) override;
    void buttonClicked (juce::Button* button) override;

    static constexpr int collapsedWidth = 15;
    static constexpr int expandedWidth = 320;

private:
    juce::Colour expandedColour() const;
    void showExpansion();

    juce::StringArray pages;
    std::vector<juce::TextButton*> buttons;
    std::vector<int> buttonTargets;
    juce::StringArray buttonLinks;
    std::unique_ptr<juce::Drawable> expandIcon, collapseIcon;
    std::unique_ptr<AlxDrawableButton> expandButton;
    juce::File manualFolder;
    bool expanded = false;
    bool collapsible = true;
    int currentPage = 0;

    JUCE_DECLARE_NON_COPYABLE (AlxHelpPanel)
};
