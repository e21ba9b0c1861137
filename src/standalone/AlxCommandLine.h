#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The application's command line, answered before anything else starts (no window, no display
// needed): --help and --version print and end the program; anything else is refused with a line
// on the error stream. A command line without arguments starts the application.
namespace AlxCommandLine
{
    // The exit status when the program ends here, nothing when it goes on to start.
    std::optional<int> answer (const std::vector<std::string>& arguments, const std::string& version,
                               std::ostream& out, std::ostream& err);
}
