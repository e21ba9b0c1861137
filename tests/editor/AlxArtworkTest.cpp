// The editor's artwork as the program carries it: every entry of every embedded archive opens,
// parses as SVG and draws visible pixels inside the area the editor draws it in.
//
// With PLIMSAR_ARTWORK_PNG_DIR set (tools/render_artwork.sh does that), each entry is also written
// as a PNG at its drawn size and at twice that size, on the colour it is drawn over, to be looked at.

#include "AlxEmbeddedData.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
    // Where the editor draws an entry: either as the image of a button of the given size (scaled
    // to fit the button's image area), or with a fixed scale and offset into an area of that size.
    struct Placement
    {
        int width, height;
        bool inButton;
        float scaleX = 1.0f, scaleY = 1.0f, x = 0.0f, y = 0.0f;

        static Placement button (int w, int h) { return { w, h, true }; }
        static Placement scaled (int w, int h, float sx, float sy, float x, float y) { return { w, h, false, sx, sy, x, y }; }
    };

    // The help panel draws page buttons over every page, and a licence link and the build over the
    // about pages.
    enum class HelpPage
    {
        none,
        help,
        about
    };

    struct Artwork
    {
        const char* archive;
        const char* data;
        const int* size;
        const char* entry;
        Placement placement;
        juce::uint32 background; // the colour the entry is drawn over, for the previews
        HelpPage page = HelpPage::none;
    };

    void PrintTo (const Artwork& art, std::ostream* out)
    {
        *out << art.archive << "/" << art.entry;
    }

    constexpr juce::uint32 editorGrey = 0xff434343;    // editor background and button colour
    constexpr juce::uint32 panelGrey = 0xff626262;     // a module panel over the editor background
    constexpr juce::uint32 helpBlue = 0xff58aad3;      // the expanded help panel

    const std::vector<Artwork>& artworks()
    {
        using namespace AlxEmbeddedData;
        const auto controlButton = Placement::button (19, 19);     // combo, rotary and radio buttons
        const auto panelIcon = Placement::scaled (33, 34, 0.09f, 0.09f, 6.0f, 6.0f); // the panel's gutter
        // The help panel asks for 470 pixels of height, but the editor's columns leave it about 457;
        // pages keep to 450 so their last line is never cut.
        const auto helpPage = Placement::scaled (320, 450, 0.4f, 0.39f, 0.0f, 20.0f);

        static const std::vector<Artwork> table {
            { "iconZip", iconZip, &iconZipSize, "collapse.svg", Placement::button (10, 10), editorGrey },
            { "iconZip", iconZip, &iconZipSize, "decrease.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "expand.svg", Placement::button (10, 10), editorGrey },
            { "iconZip", iconZip, &iconZipSize, "increase.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "modulate.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "mousewheel.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "radio1.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "radio2.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "radio3.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "radio4.svg", controlButton, editorGrey },
            { "iconZip", iconZip, &iconZipSize, "radio5.svg", controlButton, editorGrey },
            // the editor's bottom-right corner, from (width - 100, height - 35), over the synth panel
            { "iconZip", iconZip, &iconZipSize, "vendorlogo.svg", Placement::scaled (100, 35, 0.22f, 0.22f, 0.0f, 0.0f), panelGrey },
            { "helpZip", helpZip, &helpZipSize, "about.svg", helpPage, helpBlue, HelpPage::about },
            { "helpZip", helpZip, &helpZipSize, "aboutvst.svg", helpPage, helpBlue, HelpPage::about },
            { "helpZip", helpZip, &helpZipSize, "aboutvstasio.svg", helpPage, helpBlue, HelpPage::about },
            // the strip left of the header, up to the version text at x = 115
            { "helpZip", helpZip, &helpZipSize, "applogo.svg", Placement::scaled (115, 43, 0.3f, 0.29f, 15.0f, 15.0f), editorGrey },
            { "helpZip", helpZip, &helpZipSize, "help1.svg", helpPage, helpBlue, HelpPage::help },
            { "helpZip", helpZip, &helpZipSize, "help2.svg", helpPage, helpBlue, HelpPage::help },
            { "helpZip", helpZip, &helpZipSize, "help3.svg", helpPage, helpBlue, HelpPage::help },
            { "arpZip", arpZip, &arpZipSize, "chord.svg", panelIcon, panelGrey },
            { "grooveZip", grooveZip, &grooveZipSize, "groove.svg", panelIcon, panelGrey },
            { "lfoZip", lfoZip, &lfoZipSize, "lfo.svg", panelIcon, panelGrey },
            { "midiZip", midiZip, &midiZipSize, "midi.svg", panelIcon, panelGrey },
            { "synthZip", synthZip, &synthZipSize, "synth.svg", panelIcon, panelGrey },
            { "triggerZip", triggerZip, &triggerZipSize, "trigger.svg", panelIcon, panelGrey },
            // header buttons: stop and start 26 x 19, file and help 30 x 19
            { "headerZip", headerZip, &headerZipSize, "disk.svg", Placement::button (30, 19), editorGrey },
            { "headerZip", headerZip, &headerZipSize, "info.svg", Placement::button (30, 19), editorGrey },
            { "headerZip", headerZip, &headerZipSize, "start.svg", Placement::button (26, 19), editorGrey },
            { "headerZip", headerZip, &headerZipSize, "stop.svg", Placement::button (26, 19), editorGrey },
        };
        return table;
    }

    // The entry's bytes; empty when the archive lacks it.
    juce::MemoryBlock readEntry (const Artwork& art)
    {
        juce::MemoryInputStream stream (art.data, (size_t) *art.size, false);
        juce::ZipFile zip (stream);
        juce::MemoryBlock bytes;

        if (auto* entry = zip.getEntry (art.entry))
            if (std::unique_ptr<juce::InputStream> in { zip.createStreamForEntry (*entry) })
                in->readIntoMemoryBlock (bytes);

        return bytes;
    }

    // The area of a button the editor's image buttons draw their image into.
    juce::Rectangle<float> buttonImageArea (int width, int height)
    {
        juce::DrawableButton button ("button", juce::DrawableButton::ImageOnButtonBackground);
        button.setSize (width, height);
        return button.getImageBounds();
    }

    // The transform that draws the entry into its area, magnified by zoom.
    juce::AffineTransform placementTransform (const juce::Drawable& drawable, const Placement& p, float zoom)
    {
        const auto base = p.inButton
            ? juce::RectanglePlacement (juce::RectanglePlacement::centred)
                  .getTransformToFit (drawable.getDrawableBounds(), buttonImageArea (p.width, p.height))
            : juce::AffineTransform::scale (p.scaleX, p.scaleY).translated (p.x, p.y);
        return base.scaled (zoom);
    }

    juce::Image render (const juce::Drawable& drawable, const Placement& p, float zoom, juce::Colour background)
    {
        juce::Image image (juce::Image::ARGB, juce::roundToInt (p.width * zoom), juce::roundToInt (p.height * zoom), true);
        juce::Graphics g (image);
        g.fillAll (background);
        drawable.draw (g, 1.0f, placementTransform (drawable, p, zoom));
        return image;
    }

    int countVisiblePixels (const juce::Image& image)
    {
        int visible = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() > 0)
                    ++visible;

        return visible;
    }

    // Roughly what the help panel draws over a page, so a preview shows the page as it is seen.
    void paintHelpPanelParts (juce::Graphics& g, HelpPage page)
    {
        const auto button = [&g] (int x, int y, int w, int h, const char* text)
        {
            g.setColour (juce::Colour (0xff58aad3));
            g.fillRect (x, y, w, h);
            g.setColour (juce::Colours::black.withAlpha (0.5f));
            g.drawRect (x, y, w, h);
            g.setFont (juce::Font (11.7f, juce::Font::bold).withHorizontalScale (0.85f));
            g.drawText (text, x, y, w, h, juce::Justification::centred);
        };
        button (35, 5, 40, 15, "About");
        button (80, 5, 40, 15, "Help");

        if (page == HelpPage::help)
        {
            button (125, 5, 20, 15, "1");
            button (145, 5, 20, 15, "2");
            button (165, 5, 20, 15, "3");
            return;
        }

        button (109, 134, 21, 11, "here");
        g.setColour (juce::Colours::black);
        g.drawFittedText ("1.5.544 64-bit", 230, 70, 120, 20, juce::Justification::centredLeft, 1, 0.7f);
    }

    void writePreview (const juce::File& folder, const Artwork& art, const juce::Drawable& drawable, float zoom)
    {
        auto image = render (drawable, art.placement, zoom, juce::Colour (art.background));

        if (art.page != HelpPage::none)
        {
            juce::Graphics g (image);
            g.addTransform (juce::AffineTransform::scale (zoom));
            paintHelpPanelParts (g, art.page);
        }

        const auto file = folder.getChildFile (juce::String (art.archive) + "-" + juce::File (art.entry).getFileNameWithoutExtension()
                                               + "@" + juce::String ((int) zoom) + "x.png");
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk()) << file.getFullPathName();
        juce::PNGImageFormat().writeImageToStream (image, out);
    }
}

class AlxArtwork : public testing::TestWithParam<Artwork>
{
};

TEST_P (AlxArtwork, entryParsesAndDrawsInsideItsArea)
{
    const auto& art = GetParam();
    const auto bytes = readEntry (art);
    ASSERT_GT (bytes.getSize(), 0u) << art.archive << " lacks " << art.entry;

    // Lettering is carried as outlines: text would be drawn with whatever fonts a machine has.
    EXPECT_FALSE (bytes.toString().contains ("<text")) << art.entry << " still holds text";

    const auto drawable = juce::Drawable::createFromImageData (bytes.getData(), bytes.getSize());
    ASSERT_NE (drawable, nullptr) << art.entry << " does not parse";

    const auto bounds = drawable->getDrawableBounds();
    ASSERT_FALSE (bounds.isEmpty()) << art.entry;

    // Drawn alone on a transparent image, the entry must leave visible pixels...
    const auto& p = art.placement;
    EXPECT_GT (countVisiblePixels (render (*drawable, p, 1.0f, juce::Colours::transparentBlack)), 0) << art.entry;

    // ...and all of them inside the area the editor gives it (half a pixel of antialiasing aside).
    const auto drawn = bounds.transformedBy (placementTransform (*drawable, p, 1.0f));
    EXPECT_TRUE (juce::Rectangle<float> (-0.5f, -0.5f, p.width + 1.0f, p.height + 1.0f).contains (drawn))
        << art.entry << " spills out of its " << p.width << " x " << p.height << " area: " << drawn.toString();

    const auto previews = juce::SystemStats::getEnvironmentVariable ("PLIMSAR_ARTWORK_PNG_DIR", {});

    if (previews.isNotEmpty())
    {
        const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (previews));
        ASSERT_TRUE (folder.createDirectory());
        writePreview (folder, art, *drawable, 1.0f);
        writePreview (folder, art, *drawable, 2.0f);
    }
}

INSTANTIATE_TEST_SUITE_P (Entries, AlxArtwork, testing::ValuesIn (artworks()),
                          [] (const testing::TestParamInfo<Artwork>& entry)
                          {
                              auto name = juce::String (entry.param.archive) + "_"
                                        + juce::File (entry.param.entry).getFileNameWithoutExtension();
                              return name.toStdString();
                          });
