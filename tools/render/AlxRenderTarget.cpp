#include "render/AlxRenderTarget.h"

#include "render/AlxRenderError.h"
#include "framework/AlxFileReplacement.h"

class AlxRenderTarget::CheckedStream : public juce::OutputStream
{
public:
    CheckedStream (AlxRenderTarget& owner_) : owner (owner_), out (owner_.getFile()) {}

    ~CheckedStream() override
    {
        flush();
    }

    bool openedOk() const { return out.openedOk(); }
    juce::String getError() const { return out.getStatus().getErrorMessage(); }

    void flush() override
    {
        // The buffered bytes go to the disk here; JUCE's flush does not say when that fails.
        out.flush();
        noteFailure (out.getStatus().failed());
    }

    juce::int64 getPosition() override { return out.getPosition(); }

    bool setPosition (juce::int64 position) override
    {
        return noteFailure (! out.setPosition (position));
    }

    bool write (const void* data, size_t numBytes) override
    {
        const bool ok = noteFailure (! out.write (data, numBytes));
        owner.bytesWritten = juce::jmax (owner.bytesWritten, out.getPosition());
        return ok;
    }

private:
    // True when all is well.
    bool noteFailure (bool failed)
    {
        if (failed && owner.failure.isEmpty())
            owner.failure = out.getStatus().failed() ? out.getStatus().getErrorMessage() : juce::String ("a write failed");

        return ! failed;
    }

    AlxRenderTarget& owner;
    juce::FileOutputStream out;
};

AlxRenderTarget::AlxRenderTarget (const juce::File& target) : temporary (target, juce::TemporaryFile::useHiddenFile)
{
    if (target.isDirectory())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": it is a folder");

    if (! target.getParentDirectory().isDirectory())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": no such folder");

    if (const auto result = getFile().create(); result.failed())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": " + result.getErrorMessage());
}

std::unique_ptr<juce::OutputStream> AlxRenderTarget::createStream()
{
    auto stream = std::make_unique<CheckedStream> (*this);

    if (! stream->openedOk())
        throw AlxRenderError ("cannot write " + getTarget().getFullPathName() + ": " + stream->getError());

    return stream;
}

void AlxRenderTarget::writeWith (const std::function<bool (const juce::File&)>& save)
{
    if (! save (getFile()))
        throw AlxRenderError ("cannot write " + getTarget().getFullPathName());

    bytesWritten = getFile().getSize();
}

void AlxRenderTarget::check() const
{
    const auto name = getTarget().getFullPathName();

    if (failure.isNotEmpty())
        throw AlxRenderError ("cannot write " + name + ": " + failure);

    const auto size = getFile().getSize();

    if (size != bytesWritten)
        throw AlxRenderError ("cannot write " + name + ": only " + juce::String (size) + " of " + juce::String (bytesWritten)
                              + " bytes reached the disk");
}

void AlxRenderTarget::commit()
{
    if (! AlxFileReplacement::moveOver (getFile(), getTarget()))
        throw AlxRenderError ("cannot write " + getTarget().getFullPathName());
}
