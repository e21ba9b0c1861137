#include "AlxFuzzHost.h"

#include "support/AlxMessageLoop.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace AlxFuzzHost
{
    namespace
    {
        struct Host
        {
            Host()
            {
                // The processor names every unknown id in a document it loads as a debug line on
                // std::cerr, and fuzzed documents hold thousands a second: each would cost a write
                // to the terminal. libFuzzer and the sanitizers report through stderr itself, which
                // stays open.
                std::cerr.setstate (std::ios::badbit);
                filter.initialise();
                AlxMessageLoop::deliverPending();
                auto& root = *filter.getRootModule();
                initialBank = root.createXml (false, 0);

                for (int program = 0; program < numPrograms; ++program)
                    initialPrograms[program] = root.createXml (true, program);
            }

            juce::ScopedJuceInitialiser_GUI juce;
            AlxPlimsarFilter filter;
            // The state as parsed documents: restoring skips reading the text, which would cost
            // more than the input itself.
            std::unique_ptr<juce::XmlElement> initialBank;
            static constexpr int numPrograms = 128;
            std::unique_ptr<juce::XmlElement> initialPrograms[numPrograms];
        };

        Host& host()
        {
            static Host instance;
            return instance;
        }
    }

    AlxPlimsarFilter& processor()
    {
        return host().filter;
    }

    void restore (int programIndex)
    {
        // What loading a chunk does once the document is parsed.
        auto& root = *processor().getRootModule();
        const bool bank = programIndex < 0;
        root.restoreXml (bank ? *host().initialBank : *host().initialPrograms[programIndex], ! bank, programIndex, false);
        root.domainsChanged();
        root.stateLoaded();
        root.resendParameterValues();
        AlxMessageLoop::deliverPending();
    }

    void forgetNames()
    {
        juce::StringPool::getGlobalPool().garbageCollect();
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

    bool checksProperties (const std::uint8_t* data, size_t size)
    {
        // FNV-1a: every byte counts, and it costs nothing next to the input's reading.
        std::uint32_t hash = 2166136261u;

        for (size_t i = 0; i < size; ++i)
            hash = (hash ^ data[i]) * 16777619u;

        return hash % 32 == 0;
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
