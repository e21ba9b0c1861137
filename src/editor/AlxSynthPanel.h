#pragma once

#include "editor/AlxParamPanel.h"

class AlxSynthModule;

// The test synth's panel: its gain knob. The editor gives it its width.
class AlxSynthPanel : public AlxParamPanel
{
public:
    AlxSynthPanel (AlxEditor* editor, int width);

    virtual AlxSynthModule* getModule() const;

};
