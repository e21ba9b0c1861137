#include "editor/AlxGrooveView.h"

#include "modules/AlxGrooveModule.h"

AlxGrooveView::AlxGrooveView (AlxEditor* owner)
    : AlxTextStatusView (owner)
{
    observeModule (getModule());
}

AlxGrooveModule* AlxGrooveView::getModule() const
{
    return findModuleOf<AlxGrooveModule>();
}

bool AlxGrooveView::readValuesAt (double time)
{
    auto* groove = getModule();
    if (groove == nullptr)
        return false;
    pattern = groove->patternAt (time);
    amount = groove->amountAt (time);
    width = groove->widthAt (time);
    return true;
}

void AlxGrooveView::paint (juce::Graphics& g)
{
    paintFields (g, { { "groove", 15, 40, amount, 55, 50 },
                      { "width", 90, 40, width, 125, 50 },
                      { "beats", 160, 40, pattern, 195, 50 } });
}
