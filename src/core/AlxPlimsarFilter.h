#pragma once

#include "core/AlxFilter.h"

// The processor of this product: its root module is the plimsar module tree.
class AlxPlimsarFilter : public AlxFilter
{
public:
    std::unique_ptr<AlxModule> createRootModule() override;
    juce::AudioProcessorEditor* createEditor() override;

    // Inside a plug-in host the notes come from the host's MIDI track and go back to the host,
    // which routes them to its own instruments; the factory bank's demo track and built-in synth
    // are what the standalone application plays. A state the host restores later brings the
    // musician's own choice back.
    void initialise() override;

    // True when a plug-in wrapper created the processor (not the standalone application, a tool
    // or a test).
    bool isPlugin() const;
};
