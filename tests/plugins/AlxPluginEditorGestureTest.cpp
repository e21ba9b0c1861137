#include "core/AlxPlimsarFilter.h"
#include "editor/AlxParamControl.h"
#include "host-check/AlxPluginHost.h"
#include "plugins/AlxGestureEar.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

// A knob pressed and released with the mouse in the VST3 plug-in's own editor, shown by a host
// through JUCE's hosting classes on a real X display: the host hears the gesture begin with the
// press and end once with the release.
// (LV2 carries no gestures from this plug-in: JUCE's LV2 wrapper has no way to send them.)
//
// It needs a display with a window manager and xdotool, so CTest runs it under xvfb-run with
// openbox and PLIMSAR_EDITOR_DISPLAY set; elsewhere it is skipped.

namespace
{
    // The first knob of a host-visible parameter in the editor, and where its centre lies in it.
    struct Knob
    {
        int hostIndex = -1;
        juce::Point<int> centre;
    };

    Knob findKnob (juce::Component& editor, juce::Component& component)
    {
        if (auto* control = dynamic_cast<AlxParamControl*> (&component))
        {
            auto* parameter = control->getParameter();

            for (auto* part : control->getChildren())
                if (part->getName() == "knob" && part->isVisible() && parameter != nullptr && parameter->getHostIndex() >= 0)
                    return { parameter->getHostIndex(), editor.getLocalArea (part, part->getLocalBounds()).getCentre() };
        }

        for (auto* child : component.getChildren())
            if (child->isVisible())
                if (auto knob = findKnob (editor, *child); knob.hostIndex >= 0)
                    return knob;

        return {};
    }

    void xdotool (const juce::StringArray& arguments)
    {
        juce::ChildProcess tool;
        juce::StringArray command { "xdotool" };
        command.addArray (arguments);
        ASSERT_TRUE (tool.start (command));
        tool.waitForProcessToFinish (5000);
        ASSERT_EQ (tool.getExitCode(), 0u) << command.joinIntoString (" ");
    }
}

TEST (AlxPluginEditorGesture, aKnobPressedInTheVst3EditorReachesTheHostAsOneGesture)
{
    if (std::getenv ("PLIMSAR_EDITOR_DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display: run under xvfb-run with PLIMSAR_EDITOR_DISPLAY set";

    // Where the knob lies, from an editor of our own made the same way.
    AlxPlimsarFilter reference;
    reference.initialise();
    std::unique_ptr<juce::AudioProcessorEditor> ownEditor (reference.createEditor());
    const auto knob = findKnob (*ownEditor, *ownEditor);
    ASSERT_GE (knob.hostIndex, 0) << "the editor shows a knob";
    ownEditor.reset();

    AlxPluginHost host (AlxPluginHost::Format::vst3, juce::File (PLIMSAR_VST3_BUNDLE));
    auto plugin = host.createInstance (48000.0, 512);
    auto* hosted = plugin->getParameters()[knob.hostIndex];
    AlxGestureEar ear;
    hosted->addListener (&ear);

    std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditor());
    ASSERT_NE (window, nullptr);
    window->setTopLeftPosition (40, 40);
    // A window the window manager leaves where it is put.
    window->addToDesktop (juce::ComponentPeer::windowIsTemporary);
    window->setVisible (true);
    AlxMessageLoop::deliverUntil ([] { return false; }, 1500);

    // Press the knob, hold it, release it, as a hand does before it drags.
    const auto at = window->getScreenPosition() + knob.centre;
    xdotool ({ "mousemove", juce::String (at.x), juce::String (at.y), "mousedown", "1" });
    AlxMessageLoop::deliverUntil ([&] { return ! ear.gestures.isEmpty(); });
    EXPECT_EQ (ear.gestures, juce::StringArray ({ "begin" })) << "the gesture begins with the press";

    xdotool ({ "mouseup", "1" });
    EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&] { return ear.gestures.size() >= 2; })) << ear.gestures.joinIntoString (",");
    AlxMessageLoop::deliverUntil ([] { return false; }, 300);
    EXPECT_EQ (ear.gestures, juce::StringArray ({ "begin", "end" })) << "and ends once with the release";

    window.reset();
    hosted->removeListener (&ear);
}
