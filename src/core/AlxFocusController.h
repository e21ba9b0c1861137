#pragma once

#include "framework/AlxParameter.h"

// Keeps at most one parameter focused: when another parameter becomes focused, the one focused
// before is unfocused. Registered with every parameter except those of status sets.
class AlxFocusController : public AlxMessageSink
{
public:
    void handleMessage (void* source, int code, std::uint32_t timeMs) override;
    AlxParameter* getFocusedParameter() const { return focused; }

private:
    AlxParameter* focused = nullptr;
};
