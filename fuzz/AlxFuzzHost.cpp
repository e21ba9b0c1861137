#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

#include <cstdio>
#include <cstdlib>

namespace AlxFuzzHost
{
    AlxPlimsarFilter& processor()
    {
        struct Host
        {
            Host() { filter.initialise(); }

            juce::ScopedJuceInitialiser_GUI juce;
            AlxPlimsarFilter filter;
        };

        static Host host;
        return host.filter;
    }

    juce::File fileWith (const std::uint8_t* data, size_t size)
    {
        // One file per process, removed when the run ends.
        struct Input
        {
            ~Input() { file.deleteFile(); }

            const juce::File file = (juce::File ("/dev/shm").isDirectory() ? juce::File ("/dev/shm")
                                                                           : juce::File::getSpecialLocation (juce::File::tempDirectory))
                                        .getChildFile ("plimsar-fuzz-" + juce::Uuid().toString());
        };

        static const Input input;
        const auto& file = input.file;
        file.deleteFile();

        if (size > 0)
            file.replaceWithData (data, size);
        else
            file.create();

        return file;
    }

    void require (bool condition, const char* what)
    {
        if (! condition)
        {
            std::fprintf (stderr, "broken: %s\n", what);
            std::abort();
        }
    }

    void requireRoundTrip (int programIndex)
    {
        auto& root = *processor().getRootModule();
        const bool bank = programIndex < 0;
        auto save = [&] (juce::MemoryBlock& chunk)
        {
            if (bank)
                root.saveBankChunk (chunk);
            else
                root.saveProgramChunk (programIndex, chunk);
        };

        juce::MemoryBlock first, second;
        save (first);
        const bool loaded = bank ? root.loadBankChunk (first.getData(), first.getSize())
                                 : root.loadProgramChunk (programIndex, first.getData(), first.getSize());
        require (loaded, "a document written here loads back");
        AlxMessageLoop::deliverPending();
        save (second);
        require (first == second, "a document written here is written again unchanged after loading");
    }
}
