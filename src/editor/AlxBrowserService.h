#pragma once

#include "framework/AlxScopedDefault.h"

#include <juce_core/juce_core.h>

// Where web pages and the pages of the manual are opened: the system's browser for the program
// (AlxJuceBrowserService), a recording stand-in in tests.
class AlxBrowserService
{
public:
    virtual ~AlxBrowserService() = default;

    // Hands the address to the browser; false when it could not be handed over. What the browser
    // then makes of it is not reported back.
    virtual bool open (const juce::URL& url) = 0;

    // The service the program uses: the system's, unless a ScopedDefault stands in for it.
    static AlxBrowserService& getDefault();
    using ScopedDefault = AlxScopedDefault<AlxBrowserService>;
};

// The system's default browser, through JUCE's launcher (xdg-open on Linux).
class AlxJuceBrowserService : public AlxBrowserService
{
public:
    bool open (const juce::URL& url) override { return url.launchInDefaultBrowser(); }
};
