#pragma once

#include "editor/AlxLookAndFeel.h"

#include <memory>

// The look and feel plimsar's editors install as JUCE's default while any of them is open.
class AlxPlimsarLookAndFeel : public AlxLookAndFeel
{
public:
    // The installed look and feel, shared by every holder: the first call creates it and makes it
    // JUCE's default; when the last holder lets go, the default is reset and it is deleted. So
    // editors may close in any order without leaving a component drawing with a deleted look
    // and feel. Message thread only.
    static std::shared_ptr<AlxPlimsarLookAndFeel> acquire();
};
