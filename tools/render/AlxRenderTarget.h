#pragma once

#include <juce_core/juce_core.h>

#include <functional>

// An output file of the renderer, written in full to a hidden temporary file beside it and put
// in its place only by commit: a failed run leaves no half-written file and keeps what was there.
// Without commit the temporary file is removed.
//
// Every write to its streams is checked, and so is the size the file has on the disk at the end:
// a full disk may take a write only in part without reporting it, or fail only when the last
// buffered bytes are flushed.
class AlxRenderTarget
{
public:
    // Creates the temporary file at once, so a target that cannot be written is found before
    // any work is done. Throws AlxRenderError.
    explicit AlxRenderTarget (const juce::File& target);

    const juce::File& getTarget() const { return temporary.getTargetFile(); }
    const juce::File& getFile() const { return temporary.getFile(); }

    // A stream over the (empty) temporary file, which notes every failed write in this target.
    // The target must outlive it. Throws AlxRenderError.
    std::unique_ptr<juce::OutputStream> createStream();

    // Lets save write the whole temporary file by itself (as the preset file writer does, with
    // checks of its own); false from it fails the target. Throws AlxRenderError.
    void writeWith (const std::function<bool (const juce::File&)>& save);

    // Throws AlxRenderError, naming the target, when a write failed or the temporary file does
    // not hold every byte written to it. Call after its streams are closed.
    void check() const;

    // Renames the temporary file to the target. Throws AlxRenderError.
    void commit();

private:
    class CheckedStream;

    juce::TemporaryFile temporary;
    // What the streams wrote: the end of the file as they left it, and the first failure.
    juce::int64 bytesWritten = 0;
    juce::String failure;
};
