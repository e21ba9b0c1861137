#include "core/AlxPlimsarFilter.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
    struct Chunk
    {
        explicit Chunk (const juce::String& text, bool withPrefix = false)
        {
            if (withPrefix)
            {
                data.append ("VC2!", 4);
                const juce::uint32 length = (juce::uint32) text.getNumBytesAsUTF8() + 1;
                data.append (&length, 4);
            }

            data.append (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
        }

        juce::MemoryBlock data;
    };

    juce::String bankNaming (const juce::String& version, const juce::String& pluginName, const juce::String& name)
    {
        return "<fxb><mod i=\"4\" n=\"" + pluginName + "\" v=\"" + version + "\"><cm><mod i=\"1000\"><ext><dom n=\"Preset\">"
               "<val i=\"0\" n=\"" + name + "\"/></dom></ext></mod></cm></mod></fxb>";
    }
}

TEST (AlxFilter, suspendsAroundStateCallsAndLeavesAnEarlierSuspensionAlone)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    juce::MemoryBlock chunk;

    processor.getStateInformation (chunk);
    EXPECT_FALSE (processor.isSuspended());
    EXPECT_FALSE (processor.isSuspended());

    processor.setSuspended (true);
    processor.getStateInformation (chunk);
    processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_TRUE (processor.isSuspended());
    EXPECT_TRUE (processor.juce::AudioProcessor::isSuspended());

    processor.setSuspended (false);
    EXPECT_FALSE (processor.juce::AudioProcessor::isSuspended());
}

TEST (AlxFilter, acceptsDocumentsByVersionAndPluginName)
{
    struct Case { const char* version; const char* plugin; bool withPrefix; bool accepted; };
    const Case cases[] = {
        { "1.5.544", "plimsar", false, true },
        { "1.5.1", "plimsar", true, true },
        { "1.1.142", "plimsar", false, true },
        { "1.3.0", "plimsar", false, false },
        { "2.0.0", "plimsar", false, false },
        { "1.5.544", "other", false, false },
    };

    for (auto& c : cases)
    {
        AlxPlimsarFilter processor;
        processor.initialise();
        Chunk chunk (bankNaming (c.version, c.plugin, "Loaded"), c.withPrefix);
        processor.setStateInformation (chunk.data.getData(), (int) chunk.data.getSize());
        AlxMessageLoop::deliverPending();
        EXPECT_EQ (processor.getProgramName (0), c.accepted ? "Loaded" : "clean start") << c.version << " " << c.plugin;
    }
}

TEST (AlxFilter, malformedChunksChangeNothing)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    processor.changeProgramName (0, "Kept");

    const juce::String texts[] = { "", "not xml", "<fxb>", "<fxp><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"/></fxp>",
                                   "<fxb><other/></fxb>", "VC2!" };

    for (auto& text : texts)
    {
        Chunk chunk (text);
        processor.setStateInformation (chunk.data.getData(), (int) chunk.data.getSize());
    }

    processor.setStateInformation (nullptr, 0);
    const char noTerminator[] = { '<', 'f' };
    processor.setStateInformation (noTerminator, 2);
    AlxMessageLoop::deliverPending();
    EXPECT_EQ (processor.getProgramName (0), "Kept");
}

// A plug-in host may build the processor and destroy it on a thread of its own while the message
// thread delivers what the processor's modules post. Each round builds one on a "host" thread,
// has every parameter changed there many times over so that messages are pending, and destroys
// it there while this thread, the message thread, keeps delivering.
TEST (AlxFilter, isBuiltAndDestroyedOnAHostThreadWhileTheMessageThreadDelivers)
{
    for (int round = 0; round < 20; ++round)
    {
        std::atomic<bool> done { false };
        std::thread host ([&done]
        {
            auto filter = std::make_unique<AlxPlimsarFilter>();
            filter->initialise();

            for (int i = 0; i < 40; ++i)
                for (auto* parameter : filter->getParameters())
                    parameter->setValueNotifyingHost ((float) (i % 2));

            filter.reset();
            done = true;
        });

        EXPECT_TRUE (AlxMessageLoop::deliverUntil ([&done] { return done.load(); })) << "round " << round;
        host.join();
        AlxMessageLoop::deliverPending();
    }
}
