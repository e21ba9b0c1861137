#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"
#include "editor/AlxHelpModule.h"

#include <gtest/gtest.h>

TEST (AlxHelpModule, pageAndExpansionTravelWithTheState)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    auto& help = *static_cast<AlxPlimsarModule*> (processor.getRootModule())->getHelpModule();
    help.getPropertySet()->setValue ("helpCurrentPage", 2);
    help.getPropertySet()->setValue ("helpExpanded", true);

    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    EXPECT_TRUE (chunk.toString().contains ("<mod i=\"9000\"><glob><prs helpCurrentPage=\"2\" helpExpanded=\"1\"/></glob></mod>"));

    AlxPlimsarFilter restored;
    restored.initialise();
    restored.setStateInformation (chunk.getData(), (int) chunk.getSize());
    auto& restoredHelp = *static_cast<AlxPlimsarModule*> (restored.getRootModule())->getHelpModule();
    EXPECT_EQ (restoredHelp.getPropertySet()->getIntValue ("helpCurrentPage"), 2);
    EXPECT_TRUE (restoredHelp.getPropertySet()->getBoolValue ("helpExpanded"));
}

TEST (AlxHelpModule, commandsWithoutAnAttachedPanelAreDropped)
{
    AlxPlimsarFilter processor;
    processor.initialise();
    auto& help = *static_cast<AlxPlimsarModule*> (processor.getRootModule())->getHelpModule();
    ASSERT_EQ (help.getHelpPanel(), nullptr);

    for (int kind : { 11, 12, 19, 20, 21 })
        EXPECT_TRUE (help.handleModuleMessage (help.getEventParameter(), kind * 256 + 6, 0));

    EXPECT_FALSE (help.handleModuleMessage (help.getEventParameter(), 0x0B05, 0)) << "only reason 6 carries commands";
    EXPECT_FALSE (help.handleModuleMessage (help.getEventParameter(), 0x1606, 0)) << "kind 22 is no help command";
}
