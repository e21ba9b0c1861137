#pragma once

#include <juce_core/juce_core.h>

#include <stdexcept>

// A problem that ends a render: a bad option, a file that cannot be read, loaded or written. Its
// message is the one line the renderer prints before it exits with status 2.
class AlxRenderError : public std::runtime_error
{
public:
    explicit AlxRenderError (const juce::String& message) : std::runtime_error (message.toStdString()) {}

    juce::String getMessage() const { return juce::String::fromUTF8 (what()); }
};
