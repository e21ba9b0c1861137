#include "standalone/AlxCommandLine.h"
#include "standalone/plimsarApplication.h"

#include <iostream>

namespace
{
    juce::JUCEApplicationBase* createApplication()
    {
        return new plimsarApplication();
    }
}

int main (int argc, char* argv[])
{
    // Answered before the library starts, so these work without a display.
    if (const auto exitCode = AlxCommandLine::answer ({ argv + 1, argv + argc }, PLIMSAR_VERSION, std::cout, std::cerr))
        return *exitCode;

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
