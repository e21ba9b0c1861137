#include "render/AlxRenderOptions.h"

#include "render/AlxRenderError.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

namespace
{
    constexpr int minTempo = 20, maxTempo = 999;
    constexpr int maxNumerator = 99;
    constexpr int minSampleRate = 8000, maxSampleRate = 384000;
    constexpr int maxBlockSize = 16384;
    // The division field of a MIDI file holds ticks per quarter note in 15 bits.
    constexpr int maxPpq = 32767;

    juce::String quoted (const juce::String& text) { return "'" + text + "'"; }

    double readNumber (const juce::String& option, const juce::String& text)
    {
        const auto digits = text.toStdString();
        char* end = nullptr;
        const double value = digits.empty() ? 0.0 : std::strtod (digits.c_str(), &end);

        // strtod also reads "inf", "nan" and hex floats; none of them is a sensible setting.
        if (digits.empty() || end != digits.c_str() + digits.size() || ! std::isfinite (value)
            || ! text.containsOnly ("0123456789.-+eE"))
            throw AlxRenderError (option + ": " + quoted (text) + " is not a number");

        return value;
    }

    int readWholeNumber (const juce::String& option, const juce::String& text)
    {
        const auto magnitude = text.startsWithChar ('-') || text.startsWithChar ('+') ? text.substring (1) : text;

        if (magnitude.isEmpty() || ! magnitude.containsOnly ("0123456789"))
            throw AlxRenderError (option + ": " + quoted (text) + " is not a whole number");

        // Longer numbers do not fit an int; every range here is far below that.
        if (magnitude.length() > 9)
            throw AlxRenderError (option + ": " + text + " is out of range");

        return text.getIntValue();
    }

    template <typename Number>
    Number inRange (const juce::String& option, const juce::String& text, Number value, int low, int high)
    {
        if (value < low || value > high)
            throw AlxRenderError (option + ": " + text + " is out of range (" + juce::String (low) + " to "
                                  + juce::String (high) + ")");

        return value;
    }

    int atLeast (int low, const juce::String& option, const juce::String& text)
    {
        const int value = readWholeNumber (option, text);

        if (value < low)
            throw AlxRenderError (option + ": " + text + " is out of range (at least " + juce::String (low) + ")");

        return value;
    }

    juce::File fileOf (const juce::String& option, const juce::String& text)
    {
        if (text.isEmpty())
            throw AlxRenderError (option + ": the file name is empty");

        return juce::File::getCurrentWorkingDirectory().getChildFile (text);
    }

    void readTimeSignature (const juce::String& option, const juce::String& text, AlxRenderOptions& options)
    {
        if (! text.containsChar ('/'))
            throw AlxRenderError (option + ": " + quoted (text) + " is not of the form N/D, e.g. 3/4");

        const auto numeratorText = text.upToFirstOccurrenceOf ("/", false, false);
        const auto denominatorText = text.fromFirstOccurrenceOf ("/", false, false);
        const int numerator = readWholeNumber (option, numeratorText);
        const int denominator = readWholeNumber (option, denominatorText);
        inRange (option, numeratorText, numerator, 1, maxNumerator);

        // A MIDI file can only state a denominator that is a power of two.
        if (denominator < 1 || ! juce::isPowerOfTwo (denominator) || denominator > 16)
            throw AlxRenderError (option + ": the denominator " + denominatorText + " is not one of 1, 2, 4, 8, 16");

        options.numerator = numerator;
        options.denominator = denominator;
    }

    // The same path, or two names of one existing file (a symbolic or hard link).
    bool sameFile (const juce::File& a, const juce::File& b)
    {
        if (a == b)
            return true;

        std::error_code error;
        return std::filesystem::equivalent (a.getFullPathName().toStdString(), b.getFullPathName().toStdString(), error);
    }

    // No output may take the place of another output or of an input the render reads; only a
    // bank or program preset file may be saved over the one it was loaded from (converting it in
    // place: it is read whole before it is written).
    void checkDistinctFiles (const AlxRenderOptions& options)
    {
        using Named = std::pair<const char*, const juce::File*>;
        const Named outputs[] = {
            { "--midi-out", &options.midiOut }, { "--events-out", &options.eventsOut }, { "--wav-out", &options.wavOut },
            { "--save-bank", &options.saveBank }, { "--save-preset", &options.savePreset }
        };
        const Named inputs[] = { { "--bank", &options.bankFile }, { "--preset", &options.presetFile }, { "--input", &options.inputFile } };

        const auto refuse = [] (const Named& a, const Named& b)
        {
            if (AlxRenderOptions::isGiven (*a.second) && AlxRenderOptions::isGiven (*b.second) && sameFile (*a.second, *b.second))
                throw AlxRenderError (juce::String (a.first) + " and " + b.first + " name the same file "
                                      + a.second->getFullPathName());
        };

        for (size_t i = 0; i < std::size (outputs); ++i)
        {
            for (size_t j = i + 1; j < std::size (outputs); ++j)
                refuse (outputs[i], outputs[j]);

            for (const auto& input : inputs)
                if (! (outputs[i].second == &options.saveBank && input.second == &options.bankFile)
                    && ! (outputs[i].second == &options.savePreset && input.second == &options.presetFile))
                    refuse (outputs[i], input);
        }
    }
}

bool AlxRenderOptions::rendersAnything() const
{
    return AlxRenderOptions::isGiven (midiOut) || AlxRenderOptions::isGiven (eventsOut) || AlxRenderOptions::isGiven (wavOut);
}

AlxRenderOptions AlxRenderOptions::parse (const juce::StringArray& arguments)
{
    AlxRenderOptions options;
    using Reader = std::function<void (const juce::String& option, const juce::String& value)>;

    const std::map<juce::String, Reader> valued {
        { "--bank", [&] (auto& o, auto& v) { options.bankFile = fileOf (o, v); } },
        { "--preset", [&] (auto& o, auto& v) { options.presetFile = fileOf (o, v); } },
        { "--program", [&] (auto& o, auto& v)
          {
              if (v.isEmpty())
                  throw AlxRenderError (o + ": the program name is empty");

              if (v.containsOnly ("0123456789"))
                  inRange (o, v, readWholeNumber (o, v), 0, 127);

              options.program = v;
          } },
        { "--input", [&] (auto& o, auto& v) { options.inputFile = fileOf (o, v); } },
        // How many built-in tracks there are is the processor's to say.
        { "--track", [&] (auto& o, auto& v) { options.track = atLeast (0, o, v); } },
        { "--tempo", [&] (auto& o, auto& v) { options.tempo = inRange (o, v, readNumber (o, v), minTempo, maxTempo); } },
        { "--time-signature", [&] (auto& o, auto& v) { readTimeSignature (o, v, options); } },
        { "--sample-rate", [&] (auto& o, auto& v)
          { options.sampleRate = inRange (o, v, readWholeNumber (o, v), minSampleRate, maxSampleRate); } },
        { "--block-size", [&] (auto& o, auto& v) { options.blockSize = inRange (o, v, readWholeNumber (o, v), 1, maxBlockSize); } },
        { "--bars", [&] (auto& o, auto& v) { options.bars = atLeast (1, o, v); } },
        { "--seconds", [&] (auto& o, auto& v)
          {
              const double seconds = readNumber (o, v);

              if (! (seconds > 0.0))
                  throw AlxRenderError (o + ": " + v + " is out of range (more than 0)");

              options.seconds = seconds;
          } },
        { "--midi-out", [&] (auto& o, auto& v) { options.midiOut = fileOf (o, v); } },
        { "--events-out", [&] (auto& o, auto& v) { options.eventsOut = fileOf (o, v); } },
        { "--wav-out", [&] (auto& o, auto& v) { options.wavOut = fileOf (o, v); } },
        { "--save-bank", [&] (auto& o, auto& v) { options.saveBank = fileOf (o, v); } },
        { "--save-preset", [&] (auto& o, auto& v) { options.savePreset = fileOf (o, v); } },
        { "--ppq", [&] (auto& o, auto& v) { options.ppq = inRange (o, v, readWholeNumber (o, v), 1, maxPpq); } },
    };

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        const auto name = argument.upToFirstOccurrenceOf ("=", false, false);

        if (argument == "--quiet")
        {
            options.quiet = true;
        }
        else if (argument == "--help" || argument == "-h")
        {
            options.help = true;
        }
        else if (const auto reader = valued.find (name); reader != valued.end())
        {
            if (argument.containsChar ('='))
                reader->second (name, argument.fromFirstOccurrenceOf ("=", false, false));
            else if (i + 1 < arguments.size())
                reader->second (name, arguments[++i]);
            else
                throw AlxRenderError ("option " + name + " needs a value");
        }
        else if (argument.startsWith ("-"))
        {
            throw AlxRenderError ("unknown option " + quoted (argument) + " (see --help)");
        }
        else
        {
            throw AlxRenderError ("unexpected argument " + quoted (argument) + " (see --help)");
        }
    }

    if (options.help)
        return options;

    if (options.bars && options.seconds)
        throw AlxRenderError ("--bars and --seconds cannot be used together");

    if (options.track && AlxRenderOptions::isGiven (options.inputFile))
        throw AlxRenderError ("--track chooses a built-in track and cannot be used with --input");

    if (! options.rendersAnything() && ! AlxRenderOptions::isGiven (options.saveBank) && ! AlxRenderOptions::isGiven (options.savePreset))
        throw AlxRenderError ("nothing to do: give --midi-out, --events-out, --wav-out, --save-bank or --save-preset");

    checkDistinctFiles (options);
    return options;
}

juce::String AlxRenderOptions::usage()
{
    return "usage: plimsar-render [options]\n"
           "Renders plimsar offline: the processor runs from song position 0 for the given length and\n"
           "its output is written to files.\n"
           "\n"
           "  --bank FILE.fxb         load a bank preset file before rendering\n"
           "  --preset FILE.fxp       load a program preset file into the selected program\n"
           "  --program N|NAME        select the program by index 0..127 or by its exact name\n"
           "  --input FILE.mid        play a Standard MIDI File as the input (from the host, all channels)\n"
           "  --track N               without --input: the built-in demo track (0 chords, 1 bass; default 0)\n"
           "  --tempo BPM             tempo, 20 to 999 (default: the loaded state's)\n"
           "  --time-signature N/D    time signature, e.g. 3/4 (default: the loaded state's)\n"
           "  --sample-rate HZ        default 44100\n"
           "  --block-size N          default 512\n"
           "  --bars N | --seconds S  length (default 8 bars)\n"
           "  --midi-out FILE.mid     the delivered notes as a Standard MIDI File (format 0)\n"
           "  --ppq N                 ticks per quarter note of --midi-out (default 960)\n"
           "  --events-out FILE.csv   every delivered MIDI event: sample position, message bytes in hex\n"
           "  --wav-out FILE.wav      the audio output, 2 channels, 32-bit float\n"
           "  --save-bank FILE.fxb    save the loaded and selected state as a bank preset file\n"
           "  --save-preset FILE.fxp  save the selected program as a program preset file\n"
           "  --quiet                 no progress line\n"
           "\n"
           "Errors print one line and exit with status 2; no output file is left behind then.\n";
}
