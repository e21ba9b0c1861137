#include "editor/AlxManual.h"

#include "editor/AlxBrowserService.h"

namespace AlxManual
{
    juce::File findFolder (const juce::File& executable)
    {
        const auto folder = executable.getSiblingFile ("manual");
        return folder.getChildFile ("index.html").existsAsFile() ? folder : juce::File();
    }

    juce::URL pageFor (const juce::File& folder, const juce::String& webPath)
    {
        if (folder == juce::File())
            return {};

        const auto page = webPath.upToFirstOccurrenceOf ("/", false, false).upToFirstOccurrenceOf ("?", false, false);

        struct Entry { const char* path; const char* file; };
        static constexpr Entry pages[] { { "", "index.html" }, { "manual", "manual.html" },
                                         { "license", "license.html" }, { "updates", "updates.html" } };

        for (auto& entry : pages)
            if (page == entry.path)
                return juce::URL (folder.getChildFile (entry.file));

        return {};
    }

    bool openPage (const juce::File& folder, const juce::String& webPath)
    {
        const auto page = pageFor (folder, webPath);
        return ! page.isEmpty() && AlxBrowserService::getDefault().open (page);
    }
}
