#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// One entry of the drawables cache: owns the drawable it hands out.
class AlxCachedDrawable
{
public:
    virtual ~AlxCachedDrawable() = default;

    // The drawable, or null.
    virtual juce::Drawable* getDrawable() { return drawable.get(); }
    virtual void release() { drawable.reset(); }
    virtual void setDrawable (std::unique_ptr<juce::Drawable> newDrawable) { drawable = std::move (newDrawable); }

private:
    std::unique_ptr<juce::Drawable> drawable;
};
