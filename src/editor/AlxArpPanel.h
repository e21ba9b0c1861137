#pragma once

#include "editor/AlxParamPanel.h"

#include <memory>

class AlxArpModule;
class AlxArpView;

// The arp's panel: its status view, then the arp mask and the doubling, one row each.
class AlxArpPanel : public AlxParamPanel
{
public:
    explicit AlxArpPanel (AlxEditor* editor);
    ~AlxArpPanel() override;

    virtual AlxArpModule* getModule() const;

    AlxArpView* getView() const { return view; }

    static constexpr int width = 305;

private:
    std::unique_ptr<juce::Drawable> icon;
    AlxArpView* view = nullptr;
};
