#include "standalone/AlxTerminationWatcher.h"

namespace
{
    volatile std::sig_atomic_t terminationRequested = 0;

    // A signal handler, with C linkage as the system calls it.
    extern "C" void requestTermination (int);

    extern "C" void requestTermination (int)
    {
        terminationRequested = 1;
    }
}

AlxTerminationWatcher::AlxTerminationWatcher (std::function<void()> onTerminationRequested)
    : callback (std::move (onTerminationRequested))
{
    terminationRequested = 0;

    for (int signalNumber : { SIGTERM, SIGHUP, SIGINT })
        watched.push_back ({ signalNumber, std::signal (signalNumber, requestTermination) });

    startTimer (200);
}

AlxTerminationWatcher::~AlxTerminationWatcher()
{
    stopTimer();

    for (auto& entry : watched)
        if (entry.previousHandler != SIG_ERR)
            std::signal (entry.signalNumber, entry.previousHandler);
}

void AlxTerminationWatcher::timerCallback()
{
    if (terminationRequested == 0)
        return;

    terminationRequested = 0;
    callback();
}
