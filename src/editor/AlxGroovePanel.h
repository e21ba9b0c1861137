#pragma once

#include "editor/AlxParamPanel.h"

#include <memory>

class AlxGrooveModule;
class AlxGrooveView;

// The groove's panel: its status view, the amount and width knobs, then the beat pattern.
class AlxGroovePanel : public AlxParamPanel
{
public:
    explicit AlxGroovePanel (AlxEditor* editor);
    ~AlxGroovePanel() override;

    virtual AlxGrooveModule* getModule() const;

    AlxGrooveView* getView() const { return view; }

    static constexpr int width = 305;

private:
    std::unique_ptr<juce::Drawable> icon;
    AlxGrooveView* view = nullptr;
};
