#pragma once

#include "editor/AlxParamPanel.h"

class AlxTriggerModule;
class AlxTriggerView;

// The trigger's panel: its status view, then the step, and velocity and gate as knobs.
class AlxTriggerPanel : public AlxParamPanel
{
public:
    explicit AlxTriggerPanel (AlxEditor* editor);

    virtual AlxTriggerModule* getModule() const;

    AlxTriggerView* getView() const { return view; }

    static constexpr int width = 305;

private:
    AlxTriggerView* view = nullptr;
};
