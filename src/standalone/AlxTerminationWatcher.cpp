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
    previousTermHandler = std::signal (SIGTERM, requestTermination);
    previousHangUpHandler = std::signal (SIGHUP, requestTermination);
    startTimer (200);
}

AlxTerminationWatcher::~AlxTerminationWatcher()
{
    stopTimer();

    if (previousTermHandler != SIG_ERR)
        std::signal (SIGTERM, previousTermHandler);

    if (previousHangUpHandler != SIG_ERR)
        std::signal (SIGHUP, previousHangUpHandler);
}

void AlxTerminationWatcher::timerCallback()
{
    if (terminationRequested == 0)
        return;

    terminationRequested = 0;
    callback();
}
