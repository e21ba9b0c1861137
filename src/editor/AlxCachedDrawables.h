#pragma once

#include "editor/AlxCachedDrawable.h"

#include <map>

// Drawables by key, loaded when first used and kept for the life of the module container, so
// editors that come and go share them. Safe to use from any thread.
class AlxCachedDrawables
{
public:
    AlxCachedDrawables() = default;
    virtual ~AlxCachedDrawables() = default;

    // The entry stored under the key, or null.
    virtual AlxCachedDrawable* get (const juce::String& key) const;
    // Stores the entry unless the key is taken, and returns the entry stored under the key: an
    // entry offered for a taken key is discarded and the first one stays.
    virtual AlxCachedDrawable* put (const juce::String& key, std::unique_ptr<AlxCachedDrawable> entry);
    // Deletes every entry and its drawable.
    virtual void clear();

private:
    std::map<juce::String, std::unique_ptr<AlxCachedDrawable>> entries;
    juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE (AlxCachedDrawables)
};
