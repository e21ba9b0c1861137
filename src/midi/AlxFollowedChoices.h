#pragma once

#include "framework/AlxParameter.h"

#include <initializer_list>
#include <map>

// The choices (by value text) a module last acted on. A parameter message that names the same
// choice again (the resend after every state load, a device list rebuilt with the device still in
// it) is no change: acting on it would drop the chord a player holds, and could do so in the
// middle of a host's first blocks when the message is delivered late.
class AlxFollowedChoices
{
public:
    // Remembers the parameters' current choices.
    void follow (std::initializer_list<AlxParameter*> parameters);

    // True when the parameter's choice differs from the one remembered, which it then becomes.
    bool changed (AlxParameter& parameter);

private:
    static juce::String choiceOf (AlxParameter& parameter);

    std::map<AlxParameter*, juce::String> choices;
};
