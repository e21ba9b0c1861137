#pragma once

#include "framework/AlxChangeCount.h"

#include <cstdint>

// What a stage reads from its settings for every block (values, device names, which LFO moves a
// setting), kept from block to block and read again only when a setting may have changed
// (AlxChangeCount): the reads take the settings' locks, the check takes none. For the audio
// thread alone.
template <typename Values>
class AlxBlockCache
{
public:
    // The values, from read() when a change was counted since the last read (or on the first).
    template <typename Read>
    Values& get (Read&& read)
    {
        const auto count = AlxChangeCount::current();

        if (! valid || count != readAtCount)
        {
            values = read();
            readAtCount = count;
            valid = true;
        }

        return values;
    }

    // Makes the next get read again, for what the count does not cover.
    void forget() { valid = false; }

private:
    Values values {};
    std::uint64_t readAtCount = 0;
    bool valid = false;
};
