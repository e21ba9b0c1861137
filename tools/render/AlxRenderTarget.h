#pragma once

#include <juce_core/juce_core.h>

// An output file of the renderer, written in full to a hidden temporary file beside it and put
// in its place only by commit: a failed run leaves no half-written file and keeps what was there.
// Without commit the temporary file is removed.
class AlxRenderTarget
{
public:
    // Creates the temporary file at once, so a target that cannot be written is found before
    // any work is done. Throws AlxRenderError.
    explicit AlxRenderTarget (const juce::File& target);

    const juce::File& getTarget() const { return temporary.getTargetFile(); }
    const juce::File& getFile() const { return temporary.getFile(); }

    // A stream over the (empty) temporary file. Throws AlxRenderError.
    std::unique_ptr<juce::FileOutputStream> createStream() const;

    // Renames the temporary file to the target. Throws AlxRenderError.
    void commit();

private:
    juce::TemporaryFile temporary;
};
