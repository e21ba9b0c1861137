#pragma once

#include <juce_core/juce_core.h>

#include <ostream>

// The command `plimsar-render`: reads the options, loads and selects the state, saves preset
// files, renders and writes the outputs. Runs on the thread that owns the JUCE message manager.
namespace AlxRenderTool
{
    constexpr int success = 0;
    constexpr int failure = 2;

    // The arguments come without the program name. Usage goes to out; the progress line and the
    // one line naming a problem go to err. Answers the exit status: success, or failure with no
    // output file created or changed.
    int run (const juce::StringArray& arguments, std::ostream& out, std::ostream& err);

    // Asks a running render to stop after the current block, as a failure (the user pressed
    // Ctrl-C): nothing is written. Safe to call from a signal handler.
    void interrupt();
}
