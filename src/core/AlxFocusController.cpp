#include "core/AlxFocusController.h"

#include "framework/AlxMessageCode.h"

void AlxFocusController::handleMessage (void* source, int code, std::uint32_t)
{
    if (AlxMessageCode::kindOf (code) != AlxMessageCode::focusChanged)
        return;

    // Only parameters post focus changes, and this sink is registered with parameters only.
    auto* parameter = static_cast<AlxParameter*> (source);

    if (parameter != focused && parameter->isFocused())
    {
        if (focused != nullptr)
            focused->setFocused (false);

        focused = parameter;
    }
    else if (parameter == focused && ! parameter->isFocused())
    {
        focused = nullptr;
    }
}
