#pragma once

#include "editor/AlxParamPanel.h"

class AlxLFOGroupModule;
class AlxLFOView;

// The LFOs' panel: the LFO view, the choice of the LFO to edit, and that LFO's eight settings.
// The controls are bound to the group's links that follow the choice, so choosing LFO2 makes
// the same controls edit LFO2.
class AlxLFOPanel : public AlxParamPanel
{
public:
    explicit AlxLFOPanel (AlxEditor* editor);

    virtual AlxLFOGroupModule* getModule() const;

    AlxLFOView* getView() const { return view; }

    static constexpr int width = 345;

private:
    AlxLFOView* view = nullptr;
};
