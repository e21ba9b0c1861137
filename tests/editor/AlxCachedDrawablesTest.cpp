#include "editor/AlxCachedDrawables.h"
#include "editor/AlxCachedSVG.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
    const char* const goodSvg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect width="10" height="10" fill="#6acdfe"/></svg>)";

    // An archive with the entries stored uncompressed, so a test can change an entry's bytes in place.
    juce::MemoryBlock makeZip (const std::vector<std::pair<juce::String, juce::String>>& entries)
    {
        juce::ZipFile::Builder builder;
        for (const auto& [name, text] : entries)
            builder.addEntry (new juce::MemoryInputStream (text.toRawUTF8(), text.getNumBytesAsUTF8(), true), 0, name,
                              juce::Time::getCurrentTime());

        juce::MemoryOutputStream out;
        builder.writeToStream (out, nullptr);
        return out.getMemoryBlock();
    }

    // Counts live entries, to see which ones the cache deleted.
    struct CountedEntry : AlxCachedDrawable
    {
        explicit CountedEntry (int& liveCount) : live (liveCount) { ++live; }
        ~CountedEntry() override { --live; }
        int& live;
    };
}

TEST (AlxCachedDrawables, firstEntryUnderAKeyStays)
{
    int live = 0; // outlives the cache, whose entries count it down when they go
    AlxCachedDrawables cache;

    auto* first = cache.put ("plimsar/help1.svg", std::make_unique<CountedEntry> (live));
    ASSERT_NE (first, nullptr);
    EXPECT_EQ (cache.put ("plimsar/help1.svg", std::make_unique<CountedEntry> (live)), first);
    EXPECT_EQ (live, 1) << "the second entry is not adopted and does not leak";
    EXPECT_EQ (cache.get ("plimsar/help1.svg"), first);

    EXPECT_NE (cache.put ("plimsar/help2.svg", std::make_unique<CountedEntry> (live)), first);
    EXPECT_EQ (live, 2);
}

TEST (AlxCachedDrawables, unknownKeysGiveNullAndLeaveNoTrace)
{
    int live = 0;
    AlxCachedDrawables cache;
    EXPECT_EQ (cache.get ("never stored"), nullptr);
    EXPECT_EQ (cache.get ("never stored"), nullptr);

    auto* entry = cache.put ("never stored", std::make_unique<CountedEntry> (live));
    EXPECT_NE (entry, nullptr) << "an earlier lookup does not block the key";
    EXPECT_EQ (cache.get ("never stored"), entry);
}

TEST (AlxCachedDrawables, clearDeletesEveryEntry)
{
    int live = 0;
    AlxCachedDrawables cache;
    cache.put ("a", std::make_unique<CountedEntry> (live));
    cache.put ("b", std::make_unique<CountedEntry> (live));
    ASSERT_EQ (live, 2);

    cache.clear();
    EXPECT_EQ (live, 0);
    EXPECT_EQ (cache.get ("a"), nullptr);

    {
        AlxCachedDrawables dying;
        dying.put ("c", std::make_unique<CountedEntry> (live));
    }
    EXPECT_EQ (live, 0) << "the cache deletes its entries when it goes";
}

TEST (AlxCachedSVG, loadsOnFirstUseAndKeepsTheDrawable)
{
    const auto zip = makeZip ({ { "page.svg", goodSvg } });
    AlxCachedSVG entry (zip.getData(), (int) zip.getSize(), "page.svg");

    auto* drawable = entry.getDrawable();
    ASSERT_NE (drawable, nullptr);
    EXPECT_EQ (drawable->getDrawableBounds().toNearestInt(), juce::Rectangle<int> (0, 0, 10, 10));
    EXPECT_EQ (entry.getDrawable(), drawable) << "loaded once";

    entry.release();
    EXPECT_NE (entry.getDrawable(), nullptr) << "a released entry loads again";
}

TEST (AlxCachedSVG, missingEntryOrArchiveGivesNullEveryTime)
{
    const auto zip = makeZip ({ { "page.svg", goodSvg } });

    AlxCachedSVG missing (zip.getData(), (int) zip.getSize(), "other.svg");
    EXPECT_EQ (missing.getDrawable(), nullptr);
    EXPECT_EQ (missing.getDrawable(), nullptr);

    AlxCachedSVG noArchive (nullptr, 0, "page.svg");
    EXPECT_EQ (noArchive.getDrawable(), nullptr);
    AlxCachedSVG noName (zip.getData(), (int) zip.getSize(), {});
    EXPECT_EQ (noName.getDrawable(), nullptr);
    AlxCachedSVG notAZip (goodSvg, (int) strlen (goodSvg), "page.svg");
    EXPECT_EQ (notAZip.getDrawable(), nullptr);
}

TEST (AlxCachedSVG, failedLoadIsRetriedOnTheNextRequest)
{
    // Same length as the good file, but not an image at all.
    const juce::String broken = juce::String::repeatedString ("x", (int) strlen (goodSvg));
    auto zip = makeZip ({ { "page.svg", broken } });
    AlxCachedSVG entry (zip.getData(), (int) zip.getSize(), "page.svg");

    EXPECT_EQ (entry.getDrawable(), nullptr);

    // Repair the stored bytes in place: the next request must read the archive again.
    auto* bytes = static_cast<char*> (zip.getData());
    auto* end = bytes + zip.getSize();
    auto* at = std::search (bytes, end, broken.toRawUTF8(), broken.toRawUTF8() + broken.length());
    ASSERT_NE (at, end);
    std::copy (goodSvg, goodSvg + strlen (goodSvg), at);

    EXPECT_NE (entry.getDrawable(), nullptr);
}
