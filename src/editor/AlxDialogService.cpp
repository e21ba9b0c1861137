#include "editor/AlxDialogService.h"

#include "editor/AlxJuceDialogService.h"

AlxDialogService& AlxDialogService::getDefault()
{
    if (auto* replacement = ScopedDefault::current())
        return *replacement;

    // Stateless: every call opens windows of its own, so one instance serves the process.
    static AlxJuceDialogService systemService;
    return systemService;
}
