#pragma once

#include "editor/AlxStatusView.h"

class AlxArpModule;

// The arp's doubling and arp mask in force at the trigger's last firing, LFO modulation applied.
// Empty until the first message reaches it.
class AlxArpView : public AlxStatusView
{
public:
    explicit AlxArpView (AlxEditor* editor);

    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    void refresh (bool skip) override;
    virtual AlxArpModule* getModule() const;

    void paint (juce::Graphics& g) override;

    const AlxValue* getDoublingValue() const { return doubling; }
    const AlxValue* getMaskValue() const { return mask; }

private:
    // Values of the arp's domains, which live as long as the module.
    const AlxValue* doubling = nullptr;
    const AlxValue* mask = nullptr;
};
