#pragma once

#include "editor/AlxEditor.h"
#include "editor/AlxPlimsarLookAndFeel.h"
#include "framework/AlxMessageCode.h"
#include "modules/AlxArpModule.h"
#include "modules/AlxGrooveModule.h"
#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxNotePath.h"
#include "support/AlxTestHost.h"

#include <gtest/gtest.h>

// A processor played by a test host, with an editor that views and panels reach it through.
class AlxEditorFixture : public testing::Test
{
protected:
    AlxEditorFixture()
    {
        resetProgram (0);
        path.setTempo (120.0);
        host.deliver();
    }

    // The factory programs have settings of their own: tests start from the defaults.
    void resetProgram (int program)
    {
        for (auto* module : { (AlxModule*) root().getTriggerModule(), (AlxModule*) root().getGrooveModule(),
                              (AlxModule*) root().getArpModule(), (AlxModule*) lfo (0), (AlxModule*) lfo (1) })
            for (auto& parameter : module->getProgramSet (program)->getParameters())
                parameter->setValue (parameter->getDomain()->getDefaultValue(), AlxMessageCode::fromEditor, false, true);
    }

    AlxPlimsarModule& root() { return host.getRoot(); }
    AlxTriggerModule& trigger() { return *root().getTriggerModule(); }
    AlxGrooveModule& groove() { return *root().getGrooveModule(); }
    AlxArpModule& arp() { return *root().getArpModule(); }
    AlxLFOGroupModule& lfoGroup() { return *root().getLfoGroup(); }
    AlxLFOModule* lfo (int index) { return root().getLfoGroup()->getLfo (index); }
    AlxTransportModule& transport() { return *root().getTransportModule(); }

    void set (AlxParameter* parameter, const juce::String& text) { path.select (parameter, text); }
    // The chord held from song position 0 for the given number of quarter notes (120 bpm),
    // then every message delivered.
    void play (double quarterNotes)
    {
        path.start();
        path.hold ({ 60, 64, 67 });
        path.run ((juce::int64) (quarterNotes * 24000.0), 512);
    }

    // Installed as the default, as the editor does: panels take their colours from it when they
    // are built.
    std::shared_ptr<AlxPlimsarLookAndFeel> lookAndFeel = AlxPlimsarLookAndFeel::acquire();
    AlxTestHost host;
    AlxNotePath path { host };
    AlxEditor editor { host.getProcessor() };
};

inline juce::String textOf (const AlxValue* value)
{
    return value != nullptr ? value->getText() : juce::String ("(none)");
}
