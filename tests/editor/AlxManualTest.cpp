#include "editor/AlxManual.h"

#include "support/AlxRecordingBrowserService.h"

#include <gtest/gtest.h>

namespace
{
    const juce::File shippedManual = juce::File (PLIMSAR_SOURCE_DIR).getChildFile ("manual");

    // The href targets of a page, in order.
    juce::StringArray linksOf (const juce::String& html)
    {
        juce::StringArray links;

        for (auto rest = html.fromFirstOccurrenceOf ("href=\"", false, false); rest.isNotEmpty();
             rest = rest.fromFirstOccurrenceOf ("href=\"", false, false))
            links.add (rest.upToFirstOccurrenceOf ("\"", false, false));

        return links;
    }
}

TEST (AlxManual, isFoundNextToTheExecutableOnlyWhenItIsThere)
{
    juce::TemporaryFile folder;
    ASSERT_TRUE (folder.getFile().createDirectory());
    const auto executable = folder.getFile().getChildFile ("plimsar");

    EXPECT_EQ (AlxManual::findFolder (executable), juce::File());

    ASSERT_TRUE (folder.getFile().getChildFile ("manual").createDirectory());
    EXPECT_EQ (AlxManual::findFolder (executable), juce::File()) << "an empty folder is no manual";

    ASSERT_TRUE (folder.getFile().getChildFile ("manual/index.html").replaceWithText ("<html></html>"));
    EXPECT_EQ (AlxManual::findFolder (executable), folder.getFile().getChildFile ("manual"));
}

TEST (AlxManual, mapsEachProductPathToAPageThatShips)
{
    struct Case { const char* webPath; const char* page; };
    const Case cases[] {
        { "", "index.html" },
        { "manual", "manual.html" },
        { "license", "license.html" },
        { "updates/?version=1.5.544", "updates.html" },
        { "updates", "updates.html" },
        { "manual?lang=en", "manual.html" },
        { "shop", nullptr },
        { "../../etc/passwd", nullptr },
    };

    for (auto& c : cases)
    {
        const auto url = AlxManual::pageFor (shippedManual, c.webPath);

        if (c.page == nullptr)
        {
            EXPECT_TRUE (url.isEmpty()) << c.webPath;
            continue;
        }

        EXPECT_TRUE (url.isLocalFile()) << c.webPath;
        EXPECT_EQ (url.getLocalFile(), shippedManual.getChildFile (c.page)) << c.webPath;
        EXPECT_TRUE (url.getLocalFile().existsAsFile()) << c.page;
    }

    EXPECT_TRUE (AlxManual::pageFor (juce::File(), "manual").isEmpty());
}

TEST (AlxManual, everyLinkBetweenItsPagesLeadsSomewhere)
{
    const auto pages = shippedManual.findChildFiles (juce::File::findFiles, false, "*.html");
    ASSERT_GE (pages.size(), 4);

    for (auto& page : pages)
    {
        const auto html = page.loadFileAsString();
        EXPECT_TRUE (html.contains ("<title>")) << page.getFileName();

        for (auto& link : linksOf (html))
        {
            const auto file = link.upToFirstOccurrenceOf ("#", false, false);
            const auto anchor = link.fromFirstOccurrenceOf ("#", false, false);
            EXPECT_FALSE (link.contains ("://")) << page.getFileName() << ": " << link << " leaves the manual";

            const auto target = file.isEmpty() ? page : page.getSiblingFile (file);
            ASSERT_TRUE (target.existsAsFile()) << page.getFileName() << ": " << link;

            if (anchor.isNotEmpty())
            {
                EXPECT_TRUE (target.loadFileAsString().contains ("id=\"" + anchor + "\"")) << page.getFileName() << ": " << link;
            }
        }
    }
}

TEST (AlxManual, opensItsPagesInTheBrowserAsLocalFiles)
{
    AlxRecordingBrowserService browser;
    AlxBrowserService::ScopedDefault browserInPlace (browser);

    EXPECT_TRUE (AlxManual::openPage (shippedManual, "updates/?version=1.5.544"));
    EXPECT_FALSE (AlxManual::openPage (shippedManual, "shop"));
    EXPECT_FALSE (AlxManual::openPage (juce::File(), "manual"));

    ASSERT_EQ (browser.opened.size(), 1u);
    EXPECT_EQ (browser.opened[0].toString (false), "file://" + shippedManual.getChildFile ("updates.html").getFullPathName());

    browser.opensSucceed = false;
    EXPECT_FALSE (AlxManual::openPage (shippedManual, "manual"));
    EXPECT_EQ (browser.opened.size(), 2u);
}
