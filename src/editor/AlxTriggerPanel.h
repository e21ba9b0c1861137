#pragma once

#include "editor/AlxParamPanel.h"

#include <memory>

class AlxTriggerModule;
class AlxTriggerView;

// The trigger's panel: its status view, then the step, and velocity and gate as knobs.
class AlxTriggerPanel : public AlxParamPanel
{
public:
    explicit AlxTriggerPanel (AlxEditor* editor);
    ~AlxTriggerPanel() override;

    virtual AlxTriggerModule* getModule() const;

    AlxTriggerView* getView() const { return view; }

    static constexpr int width = 305;

private:
    std::unique_ptr<juce::Drawable> icon;
    AlxTriggerView* view = nullptr;
};
