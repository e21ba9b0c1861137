#pragma once

#include "editor/AlxParamPanel.h"

class AlxGrooveModule;
class AlxGrooveView;

// The groove's panel: its status view, the amount and width knobs, then the beat pattern.
class AlxGroovePanel : public AlxParamPanel
{
public:
    explicit AlxGroovePanel (AlxEditor* editor);

    virtual AlxGrooveModule* getModule() const;

    AlxGrooveView* getView() const { return view; }

    static constexpr int width = 305;

private:
    AlxGrooveView* view = nullptr;
};
