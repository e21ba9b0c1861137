#pragma once

#include "editor/AlxParamControl.h"
#include "editor/AlxParamPanel.h"
#include "framework/AlxGeneralDomainSet.h"
#include "framework/AlxMessageCode.h"
#include "framework/AlxParameterSet.h"
#include "framework/AlxRealParameter.h"
#include "support/AlxMessageLoop.h"

#include <gtest/gtest.h>

#include <sstream>

// A list the test rebuilds at will, as device lists are rebuilt when devices come and go;
// optionally with a command after the values.
struct AlxTestListDomain : AlxListDomain
{
    AlxTestListDomain (AlxDomainSet* set, AlxControlKind kind, const juce::StringArray& names)
        : AlxListDomain (set, "List", "Test list", "A list of test values", kind)
    {
        fill (names, false);
    }

    void fill (const juce::StringArray& names, bool withCommand)
    {
        const juce::ScopedLock sl (getLock());
        clearValues();
        clearCommands();
        for (int i = 0; i < names.size(); ++i)
            addValue (names[i], (double) i, {}, "The value " + names[i]);
        if (withCommand)
            addCommand (commandKind, "Configure...");
        finishValues (0);
    }

    // Replaces the values and tells the parameters, as a device list does.
    void rebuild (const juce::StringArray& names, bool withCommand = false)
    {
        fill (names, withCommand);
        postMessage (this, AlxMessageCode::make (AlxMessageCode::deviceValuesRebuilt, AlxMessageCode::fromRebuild));
    }

    static constexpr int commandKind = 40;
};

struct AlxTestControlDomains : AlxDomainSet
{
    AlxTestControlDomains()
    {
        list = add<AlxTestListDomain> (AlxControlKind::list, juce::StringArray { "Alpha", "Beta", "Gamma", "Delta" });
        otherList = add<AlxTestListDomain> (AlxControlKind::list, juce::StringArray { "One", "Two" });
        radio = add<AlxTestListDomain> (AlxControlKind::radio, juce::StringArray { "Left", "Mid", "Right" });
        numeric = add<AlxTestListDomain> (AlxControlKind::numeric, juce::StringArray { "120" });
    }

    AlxTestListDomain* list;
    AlxTestListDomain* otherList;
    AlxTestListDomain* radio;
    AlxTestListDomain* numeric;
};

// Parameters over test and general domains, each value settable by position, and a parameter
// panel to put controls on.
struct AlxParamControlFixture : testing::Test
{
    AlxGeneralDomainSet general;
    AlxTestControlDomains domains;
    AlxParameterSet set;
    AlxParamPanel panel { nullptr, "Test", 305 };

    AlxParameter* add (AlxDomain* domain, const juce::String& name, AlxParameter* modulationSource = nullptr)
    {
        auto* p = set.add (std::make_unique<AlxRealParameter> (&set, set.size(), -1, domain, false, name));
        set.rebuildIdTable();
        p->setModulationSource (modulationSource);
        return p;
    }

    static void setPosition (AlxParameter* p, int position, int reason = AlxMessageCode::internal)
    {
        const juce::ScopedLock sl (p->getLock());
        p->setValue (p->getDomain()->getValues()[(size_t) position].get(), reason, false, true);
    }

    template <typename Part>
    static Part* part (juce::Component& control, const juce::String& name)
    {
        for (auto* child : control.getChildren())
            if (child->getName() == name)
                return dynamic_cast<Part*> (child);
        return nullptr;
    }
};

// A control whose menus answer as the test says instead of waiting for a click, and remember
// what they offered.
template <typename Control>
struct ScriptedMenus : Control
{
    using Control::Control;

    int showMenu (juce::PopupMenu& menu, juce::Component&) override
    {
        offered.clear();
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            offered.add (it.getItem().text + (it.getItem().isTicked ? " (ticked)" : ""));
        return answer;
    }

    int answer = 0;
    juce::StringArray offered;
};

// Collects what the debug output receives while it lives.
class AlxDebugCapture
{
public:
    AlxDebugCapture() : previous (std::cerr.rdbuf (captured.rdbuf())) {}
    ~AlxDebugCapture() { std::cerr.rdbuf (previous); }

    std::string text() const { return captured.str(); }

private:
    std::ostringstream captured;
    std::streambuf* previous;
};
