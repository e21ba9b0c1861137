#include "AlxStateTestTree.h"

#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

// Inputs the fuzz targets (fuzz/) found to crash the readers, reduced to their core. Each one must
// be refused and change nothing. Under the address sanitizer the crash itself shows again.
namespace
{
    struct Input
    {
        const char* what;
        const char* bytes;
        size_t size;
        bool asProgramFile;
    };

    // A leading byte that promises three more bytes, at the end of the text: the XML reader steps
    // over the terminating zero and reads past the end of the text.
    const char truncatedCharacter[] = "<f>\xff";

    // The same fault in a run of such bytes inside an attribute of a program file's document.
    const char programFileWithBrokenUtf8[] =
        "\x43\x63\x6e\x4b\x00\x00\x00\xc6\x46\x50\x43\x68\x00\x00\x00\x01"
          "\x51\x5a\x30\x34\x00\x00\x00\x01\x00\x00\x00\x01\x73\x65\x65\x64"
          "\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x20\x34\xb9\x01"
          "\x00\x80\x60\x00\x00\x20\x20\x20\x00\x00\x00\x3e\x3c\x6d\x6f\x64"
          "\x20\x69\x3d\x22\x34\x2e\x35\x2e\x35\x34\xff\xff\xff\xff\xff\xff"
          "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x74\x02\x00\x3e\x76"
          "\x61\x6c\x3c\x2f\x6f\x64\x3e\x3c\x2f\x70\x3e\x00\x2f\x63\x6d\x3e"
          "\x3c\x2f\x6f\x64\x3e\x3c\x2f\x70\x3e\x00";
}

TEST (AlxFuzzRegression, inputsThatCrashedTheReadersAreRefused)
{
    const Input inputs[] = {
        { "truncated character in a bank chunk", truncatedCharacter, sizeof (truncatedCharacter) - 1, false },
        { "broken UTF-8 in a program file", programFileWithBrokenUtf8, sizeof (programFileWithBrokenUtf8) - 1, true },
    };

    AlxStateTestFilter processor;
    const auto before = processor.bankText();
    const auto file = juce::File::createTempFile ("fxp");

    for (auto& input : inputs)
    {
        if (input.asProgramFile)
        {
            ASSERT_TRUE (file.replaceWithData (input.bytes, input.size));
            EXPECT_FALSE (processor.loadProgramFile (file)) << input.what;
        }
        else
        {
            EXPECT_FALSE (processor.root().loadBankChunk (input.bytes, input.size)) << input.what;
        }
    }

    file.deleteFile();
    AlxMessageLoop::deliverPending();
    EXPECT_TRUE (processor.bankText() == before);
}
