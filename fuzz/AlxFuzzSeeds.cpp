#include "core/AlxLegacyDocument.h"
#include "core/AlxPlimsarFilter.h"
#include "framework/AlxPresetFile.h"

#include <cstdio>

// Writes the seed corpus of the fuzz targets into a folder: the documents and files this system
// writes today (bank and program, chunk and file), and documents of version 1.0. Run it and copy
// what it wrote into fuzz/corpus/ when the document layout changes; keep the seeds small.
namespace
{
    juce::String legacyProgram (const char* tag, const juce::String& name)
    {
        juce::String text = juce::String ("<") + tag + " name=\"" + name + "\">";
        const int groupEnds[] = { 17, 25, 33 };
        int index = 0;

        for (int end : groupEnds)
        {
            text << "<g>";

            for (; index < end; ++index)
                text << "<v i=\"" << index << "\" v=\"" << (index * 3) % 100 << "\"/>";

            text << "</g>";
        }

        return text + "</" + tag + ">";
    }

    juce::MemoryBlock chunkOf (const juce::String& text)
    {
        return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
    }

    void write (const juce::File& folder, const char* name, const juce::MemoryBlock& content)
    {
        const auto file = folder.getChildFile (name);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (content.getData(), content.getSize());
        std::printf ("%s: %d bytes\n", file.getFullPathName().toRawUTF8(), (int) content.getSize());
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    constexpr int pluginId = ('Q' << 24) | ('Z' << 16) | ('0' << 8) | '4';

    AlxPlimsarFilter processor;
    processor.initialise();
    processor.changeProgramName (1, juce::String (juce::CharPointer_UTF8 ("seed & <name> \xc3\xa9")));
    auto& root = *processor.getRootModule();

    juce::MemoryBlock bank, program;
    root.saveBankChunk (bank);
    root.saveProgramChunk (1, program);

    // 1.0 documents: a program, and a bank of two programs with all nine global values.
    const auto legacyProgramText = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.4\">" + legacyProgram ("fxp", "old") + "</plugin>";
    juce::String legacyBankText = "<plugin pluginName=\"plimsar\" pluginVersion=\"1.0.4\"><a/><b/><g>";

    for (int index = -9; index < 0; ++index)
        legacyBankText << "<v i=\"" << index << "\" v=\"" << -index << "\"/>";

    legacyBankText << "</g><fxb>" << legacyProgram ("p", "one") << legacyProgram ("p", "two") << "</fxb></plugin>";

    auto bankFile = [&] (const juce::MemoryBlock& chunk) { return AlxPresetFile::build (AlxPresetFile::Kind::bank, pluginId, {}, chunk); };
    auto programFile = [&] (const juce::MemoryBlock& chunk) { return AlxPresetFile::build (AlxPresetFile::Kind::program, pluginId, "seed", chunk); };

    write (folder, "bank_chunk/current", bank);
    write (folder, "bank_chunk/legacy", chunkOf (legacyBankText));
    write (folder, "bank_file/current.fxb", bankFile (bank));
    write (folder, "bank_file/legacy.fxb", bankFile (chunkOf (legacyBankText)));
    write (folder, "program_file/current.fxp", programFile (program));
    write (folder, "program_file/legacy.fxp", programFile (chunkOf (legacyProgramText)));
    return 0;
}
