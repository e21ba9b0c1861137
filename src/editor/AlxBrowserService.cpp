#include "editor/AlxBrowserService.h"

AlxBrowserService& AlxBrowserService::getDefault()
{
    if (auto* replacement = ScopedDefault::current())
        return *replacement;

    static AlxJuceBrowserService systemService;
    return systemService;
}
