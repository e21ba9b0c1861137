#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// What one run of the renderer is asked to do, read from its command line. Files are absolute
// (relative names are taken from the working directory); a setting that was not given is empty
// and the loaded state decides it.
struct AlxRenderOptions
{
    static constexpr int defaultSampleRate = 44100;
    static constexpr int defaultBlockSize = 512;
    static constexpr int defaultBars = 8;
    static constexpr int defaultPpq = 960;

    juce::File bankFile, presetFile, inputFile;
    // An index 0 ... 127 or the exact name of a program.
    std::optional<juce::String> program;
    std::optional<int> track;
    std::optional<double> tempo;
    std::optional<int> numerator, denominator;
    int sampleRate = defaultSampleRate;
    int blockSize = defaultBlockSize;
    std::optional<int> bars;
    std::optional<double> seconds;
    juce::File midiOut, eventsOut, wavOut, saveBank, savePreset;
    int ppq = defaultPpq;
    bool quiet = false;
    bool help = false;

    // True when an output of the render itself was asked for (not only saved presets).
    bool rendersAnything() const;

    // A file option that was given (one not given is the empty juce::File).
    static bool isGiven (const juce::File& file) { return file != juce::File(); }

    // Reads the arguments (without the program name). Options take their value as the next
    // argument or after '='. Throws AlxRenderError naming the first problem.
    static AlxRenderOptions parse (const juce::StringArray& arguments);

    // The usage text printed for --help.
    static juce::String usage();
};
