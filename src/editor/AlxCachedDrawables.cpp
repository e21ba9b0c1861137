#include "editor/AlxCachedDrawables.h"

AlxCachedDrawable* AlxCachedDrawables::get (const juce::String& key) const
{
    const juce::ScopedLock sl (lock);
    const auto found = entries.find (key);
    return found != entries.end() ? found->second.get() : nullptr;
}

AlxCachedDrawable* AlxCachedDrawables::put (const juce::String& key, std::unique_ptr<AlxCachedDrawable> entry)
{
    const juce::ScopedLock sl (lock);
    auto& stored = entries[key];

    if (stored == nullptr)
        stored = std::move (entry);

    return stored.get();
}

void AlxCachedDrawables::clear()
{
    const juce::ScopedLock sl (lock);
    entries.clear();
}
