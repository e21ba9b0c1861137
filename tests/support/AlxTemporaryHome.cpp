#include "support/AlxTemporaryHome.h"

#include <cstdlib>

void AlxTemporaryHome::SetUp()
{
    previousHome = juce::SystemStats::getEnvironmentVariable ("HOME", {});
    ASSERT_TRUE (home.getFile().createDirectory());
    setenv ("HOME", home.getFile().getFullPathName().toRawUTF8(), 1);
}

void AlxTemporaryHome::TearDown()
{
    setenv ("HOME", previousHome.toRawUTF8(), 1);
}
