// plimsar-snapshot: renders plimsar's editor, as it looks for a given program, into a PNG file.
// No window and no display are needed: the editor draws itself into an image.
//
//   plimsar-snapshot [--program N] OUTPUT.png
//
// Without --program the editor shows the program the processor starts with.

#include "core/AlxPlimsarFilter.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <iostream>
#include <optional>

namespace
{
    struct Options
    {
        std::optional<int> program;
        juce::File output;
    };

    std::optional<Options> parse (const juce::StringArray& arguments, juce::String& error)
    {
        Options options;

        for (int i = 0; i < arguments.size(); ++i)
        {
            const auto& argument = arguments[i];

            if (argument == "--program")
            {
                const auto number = arguments[++i].trim();

                if (number.isEmpty() || ! number.containsOnly ("0123456789") || number.getIntValue() > 127)
                {
                    error = "--program needs a program number from 0 to 127";
                    return std::nullopt;
                }

                options.program = number.getIntValue();
            }
            else if (argument.startsWith ("-") || options.output != juce::File())
            {
                error = "unexpected argument: " + argument;
                return std::nullopt;
            }
            else
            {
                options.output = juce::File::getCurrentWorkingDirectory().getChildFile (argument);
            }
        }

        if (options.output == juce::File())
        {
            error = "usage: plimsar-snapshot [--program N] OUTPUT.png";
            return std::nullopt;
        }

        return options;
    }

    // Lets the processor's and the editor's posted messages reach their observers.
    void deliverMessages (int milliseconds = 200)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    bool writePng (const juce::Image& image, const juce::File& file)
    {
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out (file);
        juce::PNGImageFormat png;
        return out.openedOk() && png.writeImageToStream (image, out) && (out.flush(), out.getStatus().wasOk());
    }
}

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI juceLibrary;

    // The processor reports what it skips in a stored state through JUCE's debug output, which is
    // standard error here; those lines are for developers, so the tool's own messages go to a
    // stream of their own and the debug output is dropped.
    std::ostream err (std::cerr.rdbuf());
    std::cerr.rdbuf (nullptr);

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    juce::String error;
    const auto options = parse (arguments, error);

    if (! options)
    {
        err << error << std::endl;
        return 2;
    }

    AlxPlimsarFilter processor;
    processor.initialise();

    if (options->program)
        processor.setCurrentProgram (*options->program);

    deliverMessages();

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    // The status views show their values from the transport's first tick on (every 500 ms).
    deliverMessages (600);
    const auto image = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
    processor.editorBeingDeleted (editor.get());
    editor.reset();

    if (! writePng (image, options->output))
    {
        err << "cannot write " << options->output.getFullPathName() << std::endl;
        return 1;
    }

    std::cout << options->output.getFullPathName() << " (" << image.getWidth() << " x " << image.getHeight() << ")" << std::endl;
    return 0;
}
