#include "render/AlxRenderTarget.h"

#include "render/AlxRenderError.h"
#include "framework/AlxFileReplacement.h"

AlxRenderTarget::AlxRenderTarget (const juce::File& target) : temporary (target, juce::TemporaryFile::useHiddenFile)
{
    if (target.isDirectory())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": it is a folder");

    if (! target.getParentDirectory().isDirectory())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": no such folder");

    if (const auto result = getFile().create(); result.failed())
        throw AlxRenderError ("cannot write " + target.getFullPathName() + ": " + result.getErrorMessage());
}

std::unique_ptr<juce::FileOutputStream> AlxRenderTarget::createStream() const
{
    auto stream = std::make_unique<juce::FileOutputStream> (getFile());

    if (! stream->openedOk())
        throw AlxRenderError ("cannot write " + getTarget().getFullPathName() + ": " + stream->getStatus().getErrorMessage());

    return stream;
}

void AlxRenderTarget::commit()
{
    if (! AlxFileReplacement::moveOver (getFile(), getTarget()))
        throw AlxRenderError ("cannot write " + getTarget().getFullPathName());
}
