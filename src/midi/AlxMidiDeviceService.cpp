#include "midi/AlxMidiDeviceService.h"

#include "midi/AlxJuceMidiDeviceService.h"

#include <atomic>

namespace
{
    std::atomic<AlxMidiDeviceService*> replacementService { nullptr };
}

AlxMidiDeviceService& AlxMidiDeviceService::getDefault()
{
    if (auto* replacement = replacementService.load())
        return *replacement;

    // Stateless: every call goes straight to the system, so one instance serves the process.
    static AlxJuceMidiDeviceService systemService;
    return systemService;
}

AlxMidiDeviceService::ScopedDefault::ScopedDefault (AlxMidiDeviceService& replacement)
    : previous (replacementService.exchange (&replacement))
{
}

AlxMidiDeviceService::ScopedDefault::~ScopedDefault()
{
    replacementService.store (previous);
}
