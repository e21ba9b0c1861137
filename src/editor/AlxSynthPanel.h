#pragma once

#include "editor/AlxParamPanel.h"

#include <memory>

class AlxSynthModule;

// The test synth's panel: its gain knob. The editor gives it its width.
class AlxSynthPanel : public AlxParamPanel
{
public:
    AlxSynthPanel (AlxEditor* editor, int width);
    ~AlxSynthPanel() override;

    virtual AlxSynthModule* getModule() const;

private:
    std::unique_ptr<juce::Drawable> icon;
};
