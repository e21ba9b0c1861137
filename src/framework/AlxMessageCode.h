#pragma once

// A message code packs who caused a change (the reason, bits 0..7) and what changed
// (the kind, bits 8..15) into one integer: code = kind * 256 + reason.
struct AlxMessageCode
{
    // Kinds owned by the framework. Module events and commands use kinds of their own.
    enum Kind
    {
        valueChanged = 1,
        enabledChanged = 2,
        gestureChanged = 4,
        textsChanged = 5,
        valuesRebuilt = 6,
        deviceValuesRebuilt = 7,
        domainCommand = 10,
        resetRequest = 28,
        focusChanged = 29
    };

    enum Reason
    {
        fromPlayHead = 1,
        fromEditor = 2,
        fromHost = 3,
        fromRebuild = 4,
        internal = 5,
        moduleEvent = 6,
        moduleCommand = 7
    };

    static constexpr int make (int kind, int reason) noexcept { return kind * 256 + reason; }
    static constexpr int kindOf (int code) noexcept { return (code >> 8) & 0xff; }
    static constexpr int reasonOf (int code) noexcept { return code & 0xff; }

    // Helpers that post on behalf of a caller treat "no reason given" as an internal change.
    static constexpr int orInternal (int reason) noexcept { return reason == 0 ? internal : reason; }
};
