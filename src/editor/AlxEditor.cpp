#include "editor/AlxEditor.h"

#include "core/AlxFilter.h"
#include "framework/AlxModuleContainer.h"
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
