#include "editor/AlxCachedDrawables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
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
    AlxCachedDrawables cache;
    int live = 0;

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
    AlxCachedDrawables cache;
    EXPECT_EQ (cache.get ("never stored"), nullptr);
    EXPECT_EQ (cache.get ("never stored"), nullptr);

    int live = 0;
    auto* entry = cache.put ("never stored", std::make_unique<CountedEntry> (live));
    EXPECT_NE (entry, nullptr) << "an earlier lookup does not block the key";
    EXPECT_EQ (cache.get ("never stored"), entry);
}

TEST (AlxCachedDrawables, clearDeletesEveryEntry)
{
    AlxCachedDrawables cache;
    int live = 0;
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

