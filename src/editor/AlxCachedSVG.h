#pragma once

#include "editor/AlxCachedDrawable.h"

// A cache entry that loads an SVG from an archive embedded in the program the first time it is
// drawn. A failed load keeps nothing, so the next request tries again.
class AlxCachedSVG : public AlxCachedDrawable
{
public:
    AlxCachedSVG (const void* zipData, int zipSize, const juce::String& entryName);

    juce::Drawable* getDrawable() override;

private:
    const void* zipData;
    int zipSize;
    juce::String entryName;
};
