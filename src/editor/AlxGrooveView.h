#pragma once

#include "editor/AlxTextStatusView.h"

class AlxGrooveModule;

// The groove's amount, width and beat pattern at the last firing.
class AlxGrooveView : public AlxTextStatusView
{
public:
    explicit AlxGrooveView (AlxEditor* editor);

    virtual AlxGrooveModule* getModule() const;

    void paint (juce::Graphics& g) override;

    const AlxValue* getPatternValue() const { return pattern; }
    const AlxValue* getAmountValue() const { return amount; }
    const AlxValue* getWidthValue() const { return width; }

protected:
    bool readValuesAt (double time) override;

private:
    // Values of the groove's domains, which live as long as the module.
    const AlxValue* pattern = nullptr;
    const AlxValue* amount = nullptr;
    const AlxValue* width = nullptr;
};
