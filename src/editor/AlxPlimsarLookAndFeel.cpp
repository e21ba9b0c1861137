#include "editor/AlxPlimsarLookAndFeel.h"

std::shared_ptr<AlxPlimsarLookAndFeel> AlxPlimsarLookAndFeel::acquire()
{
    JUCE_ASSERT_MESSAGE_THREAD

    static std::weak_ptr<AlxPlimsarLookAndFeel> installed;

    if (auto shared = installed.lock())
        return shared;

    std::shared_ptr<AlxPlimsarLookAndFeel> shared (new AlxPlimsarLookAndFeel(), [] (AlxPlimsarLookAndFeel* lookAndFeel)
    {
        if (&juce::LookAndFeel::getDefaultLookAndFeel() == lookAndFeel)
            juce::LookAndFeel::setDefaultLookAndFeel (nullptr);

        delete lookAndFeel;
    });

    juce::LookAndFeel::setDefaultLookAndFeel (shared.get());
    installed = shared;
    return shared;
}
