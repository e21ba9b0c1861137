#pragma once

#include <cstdint>

// An observer. Sources never call it directly: their messages are queued and handed to
// handleMessage on the message thread, so a change made on the audio thread never runs
// observer code there.
class AlxMessageSink
{
public:
    virtual ~AlxMessageSink() = default;

    // source: the object the message is about; code: see AlxMessageCode; timeMs: process
    // clock at the time of posting.
    virtual void handleMessage (void* source, int code, std::uint32_t timeMs) = 0;
};
