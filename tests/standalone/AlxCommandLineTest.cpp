#include "standalone/AlxCommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

TEST (AlxCommandLine, answersHelpAndVersionAndRefusesEverythingElse)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::optional<int> exitCode;
        const char* out;   // the start of what is printed there
        const char* err;
    };

    const Case cases[] {
        { {}, std::nullopt, "", "" },
        { { "--version" }, 0, "plimsar 1.2.3\n", "" },
        { { "--help" }, 0, "usage: plimsar [--help | --version]\n", "" },
        { { "-h" }, 0, "usage: plimsar", "" },
        { { "--help", "--version" }, 0, "usage: plimsar", "" },
        { { "--versions" }, 2, "", "plimsar: unknown argument '--versions' (see --help)\n" },
        { { "song.fxb" }, 2, "", "plimsar: unknown argument 'song.fxb' (see --help)\n" },
    };

    for (auto& c : cases)
    {
        std::ostringstream out, err;
        const auto label = c.arguments.empty() ? std::string ("(none)") : c.arguments[0];
        EXPECT_EQ (AlxCommandLine::answer (c.arguments, "1.2.3", out, err), c.exitCode) << label;
        EXPECT_EQ (out.str().rfind (c.out, 0), 0u) << label << ": " << out.str();
        EXPECT_EQ (err.str(), c.err) << label;
    }
}
