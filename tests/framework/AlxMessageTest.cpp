#include "framework/AlxMessageSource.h"
#include "support/AlxMessageLoop.h"
#include "support/AlxRecordingSink.h"

#include <gtest/gtest.h>

TEST (AlxMessage, placeholder)
{
    AlxMessageSource source;
    AlxRecordingSink sink;
    source.addSink (&sink);
    source.postMessage (&source, 0x105);
    AlxMessageLoop::deliverPending();
    ASSERT_EQ (sink.records.size(), 1u);
}
