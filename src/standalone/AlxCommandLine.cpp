#include "standalone/AlxCommandLine.h"

namespace AlxCommandLine
{
    std::optional<int> answer (const std::vector<std::string>& arguments, const std::string& version,
                               std::ostream& out, std::ostream& err)
    {
        for (auto& argument : arguments)
        {
            if (argument == "--help" || argument == "-h")
            {
                out << "usage: plimsar [--help | --version]\n"
                       "\n"
                       "Starts plimsar, the MIDI rhythm generator, in a window of its own: it plays the\n"
                       "held chords of a MIDI input or of its built-in demo tracks as rhythms through its\n"
                       "built-in synth or to a MIDI output. It needs a display; plimsar-render plays\n"
                       "and records without one. Settings are kept in ~/.config/plimsar.settings.\n"
                       "\n"
                       "  --help     print this text and exit\n"
                       "  --version  print the version and exit\n";
                return 0;
            }

            if (argument == "--version")
            {
                out << "plimsar " << version << "\n";
                return 0;
            }

            err << "plimsar: unknown argument '" << argument << "' (see --help)\n";
            return 2;
        }

        return std::nullopt;
    }
}
