#include "modules/AlxTriggerDomainSet.h"

AlxTriggerGateDomain::AlxTriggerGateDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Gate", "Trigger gate",
                     "Trigger gate controls note duration:\n"
                     "0%=min; 100%=equal to trigger interval; >100%=note is extended after trigger interval",
                     AlxControlKind::range)
{
    auto addPercent = [this] (int percent) { addValue (juce::String (percent) + " %", percent / 100.0); };

    for (int percent = 0; percent < 100; ++percent)
        addPercent (percent);

    for (int percent = 100; percent <= 400; percent += 5)
        addPercent (percent);

    finishValues (90);
}

AlxTriggerVelocityDomain::AlxTriggerVelocityDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Velocity", "Trigger velocity", "Velocity applied to triggered notes", AlxControlKind::range)
{
    for (int velocity = 1; velocity <= 100; ++velocity)
        addValue (juce::String (velocity), velocity / 100.0);

    finishValues (99);
}

AlxTriggerIntervalDomain::AlxTriggerIntervalDomain (AlxDomainSet* set)
    : AlxListDomain (set, "Step", "Trigger step interval",
                     "Trigger interval is the time between two successively triggered notes")
{
    struct Step
    {
        const char* text;
        double quarters;
        const char* longText;
    };

    // The long texts are shown as they are, blanks included.
    static const Step steps[] = {
        { "Off", 0.0, "Triggering is disabled (infinite interval)" },
        { "2", 8.0, "Once every 2 whole notes (8 quarter notes)" },
        { "1", 4.0, "Once every whole note  (4 quarter notes)" },
        { "1/2", 2.0, "Once every 1/2 note  (2 quarter notes)" },
        { "1/4", 1.0, "Once every quarter note " },
        { "1/4T", 2.0 / 3.0, "Once every 1/4 note triplet" },
        { "1/8", 0.5, "Once every 1/8 note" },
        { "1/8T", 1.0 / 3.0, "Once every 1/8 note triplet" },
        { "1/16", 0.25, "Once every 1/16 note " },
        { "1/16T", 1.0 / 6.0, "Once every 1/16 note triplet" },
        { "1/32", 0.125, "Once every 1/32 note " },
        { "1/32T", 1.0 / 12.0, "Once every 1/32 note triplet" },
        { "1/64", 0.0625, "Once every 1/64 note" },
    };

    for (auto& step : steps)
        addValue (step.text, step.quarters, step.text, step.longText);

    finishValues (4);
}

AlxTriggerDomainSet::AlxTriggerDomainSet()
{
    gateDomain = add<AlxTriggerGateDomain>();
    velocityDomain = add<AlxTriggerVelocityDomain>();
    intervalDomain = add<AlxTriggerIntervalDomain>();
}
