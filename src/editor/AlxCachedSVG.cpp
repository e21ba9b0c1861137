#include "editor/AlxCachedSVG.h"

#include "editor/AlxDrawableLoader.h"

AlxCachedSVG::AlxCachedSVG (const void* zipData_, int zipSize_, const juce::String& entryName_)
    : zipData (zipData_), zipSize (zipSize_), entryName (entryName_)
{
}

juce::Drawable* AlxCachedSVG::getDrawable()
{
    if (auto* loaded = AlxCachedDrawable::getDrawable())
        return loaded;

    if (zipData == nullptr || zipSize <= 0 || entryName.isEmpty())
        return nullptr;

    setDrawable (loadDrawableFromZip (zipData, zipSize, entryName));
    return AlxCachedDrawable::getDrawable();
}
