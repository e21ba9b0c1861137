#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Renders a component as the editor would draw it. With PLIMSAR_PANEL_PNG_DIR set, the picture is
// also written there as <name>.png, to be looked at.
inline juce::Image renderSnapshot (juce::Component& component, const juce::String& name)
{
    const auto image = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    const auto folder = juce::SystemStats::getEnvironmentVariable ("PLIMSAR_PANEL_PNG_DIR", {});
    if (folder.isNotEmpty())
    {
        const auto file = juce::File (folder).getChildFile (name + ".png");
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat().writeImageToStream (image, out);
    }
    return image;
}
