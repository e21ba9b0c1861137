#pragma once

#include "framework/AlxMessageCode.h"
#include "framework/AlxMessageSink.h"

#include <functional>
#include <vector>

// Records every message delivered to it, for tests to inspect.
class AlxRecordingSink : public AlxMessageSink
{
public:
    struct Record
    {
        void* source;
        int code;
        int kind() const { return AlxMessageCode::kindOf (code); }
        int reason() const { return AlxMessageCode::reasonOf (code); }
    };

    void handleMessage (void* source, int code, std::uint32_t) override
    {
        records.push_back ({ source, code });

        if (onMessage)
            onMessage (source, code);
    }

    int count (void* source, int code) const
    {
        int n = 0;

        for (auto& r : records)
            if (r.source == source && r.code == code)
                ++n;

        return n;
    }

    int countKind (int kind) const
    {
        int n = 0;

        for (auto& r : records)
            if (r.kind() == kind)
                ++n;

        return n;
    }

    void clear() { records.clear(); }

    std::vector<Record> records;
    std::function<void (void*, int)> onMessage;
};
