#pragma once

#include "editor/AlxStatusView.h"

class AlxGrooveModule;

// The groove's amount, width and beat pattern in force at the trigger's last firing, LFO
// modulation applied. Empty until the first message reaches it.
class AlxGrooveView : public AlxStatusView
{
public:
    explicit AlxGrooveView (AlxEditor* editor);

    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    void refresh (bool skip) override;
    virtual AlxGrooveModule* getModule() const;

    void paint (juce::Graphics& g) override;

    const AlxValue* getPatternValue() const { return pattern; }
    const AlxValue* getAmountValue() const { return amount; }
    const AlxValue* getWidthValue() const { return width; }

private:
    // Values of the groove's domains, which live as long as the module.
    const AlxValue* pattern = nullptr;
    const AlxValue* amount = nullptr;
    const AlxValue* width = nullptr;
};
