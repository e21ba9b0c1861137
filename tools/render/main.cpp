#include "render/AlxRenderTool.h"

#include <juce_events/juce_events.h>

#include <csignal>
#include <iostream>

int main (int argc, char* argv[])
{
    // The processor posts its messages to a JUCE message manager; this thread owns it.
    const juce::ScopedJuceInitialiser_GUI juceLibrary;

    // The processor reports what it skips in a stored state (a value no longer offered, an
    // unknown parameter) through JUCE's debug output, which is standard error on this system.
    // Those lines are for developers: the renderer's standard error carries only its progress
    // line and the line naming a problem, so the debug output is dropped.
    std::ostream err (std::cerr.rdbuf());
    std::cerr.rdbuf (nullptr);

    // Ctrl-C, a termination request or a closed terminal ends a render between two blocks, so
    // its temporary files are removed and nothing half-written is left.
    for (int signalNumber : { SIGINT, SIGTERM, SIGHUP })
        std::signal (signalNumber, [] (int) { AlxRenderTool::interrupt(); });

    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    return AlxRenderTool::run (arguments, std::cout, err);
}
