#include "framework/AlxFileReplacement.h"

#include <filesystem>

bool AlxFileReplacement::moveOver (const juce::File& finished, const juce::File& target)
{
    std::error_code error;
    std::filesystem::rename (finished.getFullPathName().toStdString(), target.getFullPathName().toStdString(), error);
    return ! error;
}
