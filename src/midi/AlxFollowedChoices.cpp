#include "midi/AlxFollowedChoices.h"

#include "framework/AlxValue.h"

juce::String AlxFollowedChoices::choiceOf (AlxParameter& parameter)
{
    const juce::ScopedLock sl (parameter.getLock());
    auto* value = parameter.getValue();
    return value != nullptr ? value->getText() : juce::String();
}

void AlxFollowedChoices::follow (std::initializer_list<AlxParameter*> parameters)
{
    for (auto* parameter : parameters)
        choices[parameter] = choiceOf (*parameter);
}

bool AlxFollowedChoices::changed (AlxParameter& parameter)
{
    auto choice = choiceOf (parameter);
    auto& followed = choices[&parameter];

    if (choice == followed)
        return false;

    followed = std::move (choice);
    return true;
}
