#include "editor/AlxDrawableLoader.h"

std::unique_ptr<juce::Drawable> loadDrawableFromZip (const void* zipData, int zipSize, const juce::String& entryName)
{
    if (zipData == nullptr || zipSize <= 0 || entryName.isEmpty())
        return nullptr;

    juce::MemoryInputStream archiveStream (zipData, (size_t) zipSize, false);
    juce::ZipFile archive (archiveStream);
    const auto* entry = archive.getEntry (entryName);
    if (entry == nullptr)
        return nullptr;

    std::unique_ptr<juce::InputStream> entryStream (archive.createStreamForEntry (*entry));
    if (entryStream == nullptr)
        return nullptr;
    return juce::Drawable::createFromImageDataStream (*entryStream);
}
