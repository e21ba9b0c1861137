#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

// A stand-in for a process-wide platform service (dialogs, the browser): while one of these
// lives, the service's getDefault() answers with the replacement instead of the system's own
// service. Tests use it to answer for the whole program at once. Replacements nest; each puts
// back what it replaced.
template <typename Service>
class AlxScopedDefault
{
public:
    explicit AlxScopedDefault (Service& replacement) : previous (slot().exchange (&replacement)) {}
    ~AlxScopedDefault() { slot().store (previous); }

    // The replacement in force, or null when the system's service is the default.
    static Service* current() { return slot().load(); }

private:
    static std::atomic<Service*>& slot()
    {
        static std::atomic<Service*> replacement { nullptr };
        return replacement;
    }

    Service* previous;

    JUCE_DECLARE_NON_COPYABLE (AlxScopedDefault)
};
