#include "editor/AlxBrowserService.h"
#include "editor/AlxDialogService.h"
#include "editor/AlxJuceDialogService.h"
#include "support/AlxRecordingBrowserService.h"
#include "support/AlxScriptedDialogService.h"

#include <gtest/gtest.h>

// Stand-ins replace the system's service for the whole program while they are in place, nest,
// and each puts back exactly what it replaced.
TEST (AlxServiceDefault, standInsNestAndPutBackWhatTheyReplaced)
{
    auto& systemBrowser = AlxBrowserService::getDefault();
    EXPECT_NE (dynamic_cast<AlxJuceBrowserService*> (&systemBrowser), nullptr);
    EXPECT_NE (dynamic_cast<AlxJuceDialogService*> (&AlxDialogService::getDefault()), nullptr);

    AlxRecordingBrowserService outer, inner;
    AlxScriptedDialogService dialogs;
    {
        AlxBrowserService::ScopedDefault outerInPlace (outer);
        AlxDialogService::ScopedDefault dialogsInPlace (dialogs);
        EXPECT_EQ (&AlxBrowserService::getDefault(), &outer);
        EXPECT_EQ (&AlxDialogService::getDefault(), &dialogs);

        {
            AlxBrowserService::ScopedDefault innerInPlace (inner);
            EXPECT_TRUE (AlxBrowserService::getDefault().open (juce::URL ("file:///manual/index.html")));
        }

        EXPECT_EQ (&AlxBrowserService::getDefault(), &outer);
        // The dialog stand-in is independent of the browser's.
        EXPECT_EQ (&AlxDialogService::getDefault(), &dialogs);
    }

    EXPECT_EQ (&AlxBrowserService::getDefault(), &systemBrowser);
    EXPECT_NE (dynamic_cast<AlxJuceDialogService*> (&AlxDialogService::getDefault()), nullptr);
    ASSERT_EQ (inner.opened.size(), 1u);
    EXPECT_EQ (inner.opened[0].toString (false), "file:///manual/index.html");
    EXPECT_TRUE (outer.opened.empty());
}
