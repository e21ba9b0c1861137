#include "editor/AlxEditor.h"

#include "core/AlxFilter.h"
#include "framework/AlxModuleContainer.h"
#include "framework/AlxParameter.h"
#include "framework/AlxPropertySet.h"

AlxEditor::AlxEditor (AlxFilter& owner)
    : juce::AudioProcessorEditor (owner), AlxFilterLink (&owner)
{
    int width = 1, height = 1;
    if (auto* container = owner.getContainer())
        if (auto* root = container->getRootModule())
            if (auto* props = root->getPropertySet())
            {
                width = props->getIntValue ("editorWidth", 1);
                height = props->getIntValue ("editorHeight", 1);
            }
    setSize (width, height);
}

void AlxEditor::layout (int, int, int& preferredWidth, int& preferredHeight, bool)
{
    preferredWidth = getWidth();
    preferredHeight = getHeight();
}

void AlxEditor::handleMessage (void*, int, std::uint32_t) {}

void AlxEditor::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    auto* owner = getFilter();
    auto* parameter = owner != nullptr ? owner->getFocusedParameter() : nullptr;

    if (parameter == nullptr || wheel.deltaY == 0.0f)
        return;

    const juce::ScopedLock sl (parameter->getLock());
    const auto* domain = parameter->getDomain();

    // A domain without values (a device list with no device) has nothing to step to.
    if (domain == nullptr || domain->getNumValues() == 0)
        return;

    const auto& values = domain->getValues();
    const int steps = domain->getControlKind() == AlxControlKind::range ? juce::jmax (1, domain->getNumValues() / 25) : 1;
    auto* current = parameter->getValue();
    AlxValue* target = nullptr;

    if (wheel.deltaY > 0.0f)
    {
        target = domain->previousValue (current, steps);
        if (target == nullptr)
            target = values.front().get();
    }
    else
    {
        target = domain->nextValue (current, steps);
        if (target == nullptr)
            target = values.back().get();
    }

    parameter->setValue (target, 2, false, true);
}
