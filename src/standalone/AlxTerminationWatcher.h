#pragma once

#include <juce_events/juce_events.h>

#include <csignal>
#include <functional>
#include <vector>

// Turns the system's request to terminate (SIGTERM, sent at logout or by a process manager;
// SIGHUP, sent when the terminal it runs from closes; SIGINT, Ctrl-C in that terminal) into a
// call on the message thread, so the application can quit the ordinary way and save its
// settings instead of dying where it stands. The signal handler only raises a flag, the one
// thing it may safely do; a timer on the message thread looks at the flag.
//
// One watcher at a time; its destruction puts the previous handlers back.
class AlxTerminationWatcher : private juce::Timer
{
public:
    explicit AlxTerminationWatcher (std::function<void()> onTerminationRequested);
    ~AlxTerminationWatcher() override;

private:
    void timerCallback() override;

    std::function<void()> callback;
    // Per signal watched, the handler it had before; SIG_ERR when ours could not be installed.
    struct Watched
    {
        int signalNumber;
        void (*previousHandler) (int);
    };

    std::vector<Watched> watched;

    JUCE_DECLARE_NON_COPYABLE (AlxTerminationWatcher)
};
