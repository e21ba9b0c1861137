#pragma once

#include "editor/AlxParamPanel.h"

class AlxArpModule;
class AlxArpView;

// The arp's panel: its status view, then the arp mask and the doubling, one row each.
class AlxArpPanel : public AlxParamPanel
{
public:
    explicit AlxArpPanel (AlxEditor* editor);

    virtual AlxArpModule* getModule() const;

    AlxArpView* getView() const { return view; }

    static constexpr int width = 305;

private:
    AlxArpView* view = nullptr;
};
