#pragma once

#include "editor/AlxBrowserService.h"

#include <vector>

// A browser for tests: remembers every address it was handed and opens nothing. Install it for
// the whole program with AlxBrowserService::ScopedDefault.
class AlxRecordingBrowserService : public AlxBrowserService
{
public:
    bool open (const juce::URL& url) override
    {
        opened.push_back (url);
        return opensSucceed;
    }

    std::vector<juce::URL> opened;
    bool opensSucceed = true;
};
