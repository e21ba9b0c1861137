#pragma once

#include "editor/AlxEditor.h"
#include "editor/AlxPlimsarLookAndFeel.h"

class AlxPanel;

// plimsar's editor: the header across the top, the MIDI, trigger, groove and arp panels in the
// left column, the help area beside them, the LFO and synth panels on the right, the
// application logo and version left of the header and the maker's logo in the lower right
// corner, all on a scan-line background. Its size is always exactly what its panels need.
//
// Panels that are not built yet are held by invisible spacers of their size, so every other
// panel already sits where the complete editor puts it.
class AlxPlimsarEditor : public AlxEditor
{
public:
    explicit AlxPlimsarEditor (AlxFilter& owner);
    ~AlxPlimsarEditor() override;

    void updateSize() override;
    void layout (int width, int height, int& preferredWidth, int& preferredHeight, bool measureOnly) override;

    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void resized() override;

    juce::ComponentBoundsConstrainer& getSizeConstrainer() { return sizeConstrainer; }
    AlxPanel* getHeaderPanel() const { return headerPanel; }
    AlxPanel* getMidiPanel() const { return midiPanel; }
    AlxPanel* getHelpPanel() const { return helpPanel; }
    AlxPanel* getTriggerPanel() const { return triggerPanel; }
    AlxPanel* getGroovePanel() const { return groovePanel; }
    AlxPanel* getArpPanel() const { return arpPanel; }
    AlxPanel* getLfoPanel() const { return lfoPanel; }
    AlxPanel* getSynthPanel() const { return synthPanel; }
    juce::String getVersionText() const { return versionText.getText(); }

    // The version shown: the root module's version without its build number ("1.5" for
    // 1.5.544); empty when the version has no dot.
    static juce::String displayedVersion (const juce::String& versionString);

    static constexpr int tooltipDelayMs = 1400;
    static constexpr int midiPanelWidth = 305;
    static constexpr int synthPanelWidth = 345;

    // The sizes of the panels that are still held by spacers, as those panels will report them:
    // the help area starts collapsed to a 15-pixel strip; the MIDI panel's flow is two gaps of 10
    // and five overlapping combo rows of 19.
    static constexpr int helpWidth = 15;
    static constexpr int helpHeight = 470;
    static constexpr int midiPanelHeight = 107;

    // The help pages, registered in the drawables cache under these keys.
    static const juce::StringArray& getHelpPageKeys();

private:
    // Adds a panel as a visible child; it is deleted with the other children.
    AlxPanel* addPanel (std::unique_ptr<AlxPanel> panel);
    void registerHelpPages();

    // Declared first so it is released last, after every component that draws with it.
    std::shared_ptr<AlxPlimsarLookAndFeel> lookAndFeel;
    juce::ComponentBoundsConstrainer sizeConstrainer;
    juce::TooltipWindow tooltipWindow { nullptr, tooltipDelayMs };
    std::unique_ptr<juce::Drawable> makerLogo;
    std::unique_ptr<juce::Drawable> appLogo;
    juce::DrawableText versionText;

    AlxPanel* headerPanel = nullptr;
    AlxPanel* midiPanel = nullptr;
    AlxPanel* triggerPanel = nullptr;
    AlxPanel* groovePanel = nullptr;
    AlxPanel* arpPanel = nullptr;
    AlxPanel* helpPanel = nullptr;
    AlxPanel* lfoPanel = nullptr;
    AlxPanel* synthPanel = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlxPlimsarEditor)
};
