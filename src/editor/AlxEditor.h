#pragma once

#include "core/AlxFilterLink.h"
#include "framework/AlxMessageSink.h"

#include <juce_audio_processors/juce_audio_processors.h>

class AlxFilter;

// Base of the processor's editor: the window content a host or the standalone window shows.
// It reaches the processor through its filter link and takes its first size from the root
// module's properties "editorWidth" and "editorHeight"; subclasses lay out their panels.
// Mouse-wheel movement anywhere over it steps the processor's focused parameter.
class AlxEditor : public juce::AudioProcessorEditor, public AlxMessageSink, public AlxFilterLink
{
public:
    explicit AlxEditor (AlxFilter& owner);

    // Recomputes the size the panels need and fixes the window to it.
    virtual void updateSize() {}
    // Computes the preferred size and, unless measureOnly, places the children.
    virtual void layout (int width, int height, int& preferredWidth, int& preferredHeight, bool measureOnly);

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

    // Wheel movement that no child used steps the parameter assigned to the wheel: away from the
    // user toward the start of its value list, toward the user toward the end; long ranges step
    // several values at a time.
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
};
