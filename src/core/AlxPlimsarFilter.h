#pragma once

#include "core/AlxFilter.h"

// The processor of this product: its root module is the plimsar module tree.
class AlxPlimsarFilter : public AlxFilter
{
public:
    std::unique_ptr<AlxModule> createRootModule() override;
    juce::AudioProcessorEditor* createEditor() override;
};
