#pragma once

#include "editor/AlxTextStatusView.h"

class AlxArpModule;

// The arp's doubling and arp mask at the last firing.
class AlxArpView : public AlxTextStatusView
{
public:
    explicit AlxArpView (AlxEditor* editor);

    virtual AlxArpModule* getModule() const;

    void paint (juce::Graphics& g) override;

    const AlxValue* getDoublingValue() const { return doubling; }
    const AlxValue* getMaskValue() const { return mask; }

protected:
    bool readValuesAt (double time) override;

private:
    // Values of the arp's domains, which live as long as the module.
    const AlxValue* doubling = nullptr;
    const AlxValue* mask = nullptr;
};
