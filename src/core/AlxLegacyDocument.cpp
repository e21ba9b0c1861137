#include "core/AlxLegacyDocument.h"

#include <map>
#include <vector>

namespace
{
    struct Entry
    {
        juce::String value;
        int moduleId;
        int parameterId;
    };

    struct Record
    {
        juce::String name;
        std::vector<Entry> entries;
    };

    // The 1.0 layout's fixed counts; elements beyond them are not part of it.
    constexpr size_t globalValueCount = 9;
    constexpr size_t programCount = 128;
    constexpr size_t groupSizes[] = { 17, 8, 8 };

    constexpr int rootId = 4;
    constexpr int programModuleId = 1000;

    // The modules of a converted document in document order, each after its parent, with what the
    // module gets: a `glob`, and `pgms` (in a program document one `pgm`).
    struct Slot
    {
        int id;
        int parentId;
        bool global;
        bool programs;
    };

    constexpr Slot slots[] = {
        { programModuleId, rootId, true, true },
        { 2000, rootId, true, true },
        { 3000, rootId, false, false },
        { 300100, 3000, true, true },
        { 3100, rootId, false, false },
        { 310100, 3100, true, true },
        { 4000, rootId, true, true },
        { 5000, rootId, true, true },
        { 6000, rootId, true, true },
        { 7000, rootId, true, false },
        { 700100, 7000, true, true },
        { 700101, 7000, true, true },
        { 8000, rootId, true, true },
    };

    // The element children of an element (text is skipped), at most limit of them.
    std::vector<const juce::XmlElement*> elementsOf (const juce::XmlElement& element, size_t limit)
    {
        std::vector<const juce::XmlElement*> result;

        for (auto* child : element.getChildIterator())
        {
            if (result.size() >= limit)
                break;

            if (! child->isTextElement())
                result.push_back (child);
        }

        return result;
    }

    void appendEntries (const juce::XmlElement& group, size_t limit, const AlxLegacyDocument::ParameterMapping& mapping,
                        std::vector<Entry>& entries)
    {
        for (auto* value : elementsOf (group, limit))
        {
            int moduleId = 0, parameterId = 0;
            bool isGlobal = false;
            mapping (value->getIntAttribute ("i", std::numeric_limits<int>::min()), moduleId, parameterId, isGlobal);
            entries.push_back ({ value->getStringAttribute ("v"), moduleId, parameterId });
        }
    }

    Record readProgram (const juce::XmlElement& program, const AlxLegacyDocument::ParameterMapping& mapping)
    {
        Record record { program.getStringAttribute ("name"), {} };
        const auto groups = elementsOf (program, std::size (groupSizes));

        for (size_t g = 0; g < groups.size(); ++g)
            appendEntries (*groups[g], groupSizes[g], mapping, record.entries);

        return record;
    }

    // `ps` with one `pv` per entry of the module, in legacy order.
    void addParameterSet (juce::XmlElement& parent, const std::vector<Entry>& entries, int moduleId)
    {
        auto* ps = parent.createNewChildElement ("ps");

        for (auto& entry : entries)
        {
            if (entry.moduleId != moduleId)
                continue;

            auto* pv = ps->createNewChildElement ("pv");
            pv->setAttribute ("i", entry.parameterId);
            pv->setAttribute ("v", entry.value);
        }
    }

    void addProgramNames (juce::XmlElement& module, const std::vector<Record>& programs, bool programOnly)
    {
        auto* ext = module.createNewChildElement ("ext");
        auto* names = programOnly ? ext : ext->createNewChildElement ("dom");

        if (! programOnly)
            names->setAttribute ("n", "Preset");

        for (size_t k = 0; k < programs.size(); ++k)
        {
            auto* val = names->createNewChildElement ("val");
            val->setAttribute ("i", (int) k);
            val->setAttribute ("n", programs[k].name);
        }
    }

    std::unique_ptr<juce::XmlElement> build (const juce::String& tag, const juce::String& pluginName, const juce::String& version,
                                             const std::vector<Entry>& globals, const std::vector<Record>& programs)
    {
        const bool programOnly = tag == "fxp";
        auto document = std::make_unique<juce::XmlElement> (tag);
        auto* root = document->createNewChildElement ("mod");
        root->setAttribute ("i", rootId);
        root->setAttribute ("n", pluginName);
        root->setAttribute ("v", version);

        std::map<int, juce::XmlElement*> modules { { rootId, root } };

        for (auto& slot : slots)
        {
            auto* parent = modules.at (slot.parentId);
            auto* cm = parent->getChildByName ("cm");

            if (cm == nullptr)
                cm = parent->createNewChildElement ("cm");

            auto* module = cm->createNewChildElement ("mod");
            module->setAttribute ("i", slot.id);
            modules[slot.id] = module;

            if (slot.id == programModuleId)
                addProgramNames (*module, programs, programOnly);

            if (programOnly)
            {
                if (slot.programs)
                {
                    auto* pgm = module->createNewChildElement ("pgm");
                    pgm->setAttribute ("i", 0);
                    addParameterSet (*pgm, programs.front().entries, slot.id);
                }

                continue;
            }

            if (slot.global)
                addParameterSet (*module->createNewChildElement ("glob"), globals, slot.id);

            if (slot.programs)
            {
                auto* pgms = module->createNewChildElement ("pgms");

                for (size_t k = 0; k < programCount; ++k)
                {
                    auto* pgm = pgms->createNewChildElement ("pgm");
                    pgm->setAttribute ("i", (int) k);
                    addParameterSet (*pgm, k < programs.size() ? programs[k].entries : std::vector<Entry>(), slot.id);
                }
            }
        }

        return document;
    }
}

void AlxLegacyDocument::mapParameter (int legacyIndex, int& moduleId, int& parameterId, bool& isGlobal)
{
    struct Range
    {
        int firstIndex, lastIndex, moduleId, firstParameterId;
    };

    static constexpr Range table[] = {
        { -9, -9, 7000, 0 },
        { -8, -8, 310100, 1 },
        { -7, -7, 310100, 0 },
        // Both land on the same parameter of the MIDI input; restored in order, the later one wins.
        { -6, -6, 300100, 0 },
        { -5, -5, 300100, 0 },
        { -4, -4, 2000, 2 },
        { -3, -3, 2000, 1 },
        { -2, -2, 2000, 0 },
        { -1, -1, programModuleId, 0 },
        { 0, 0, 8000, 0 },
        { 1, 6, 4000, 0 },
        { 7, 10, 6000, 0 },
        { 11, 16, 5000, 0 },
        { 17, 24, 700100, 0 },
        { 25, 32, 700101, 0 },
    };

    isGlobal = legacyIndex < 0;
    moduleId = 0;
    parameterId = 0;

    for (auto& range : table)
    {
        if (legacyIndex >= range.firstIndex && legacyIndex <= range.lastIndex)
        {
            moduleId = range.moduleId;
            parameterId = range.firstParameterId + legacyIndex - range.firstIndex;
            return;
        }
    }
}

std::unique_ptr<juce::XmlElement> AlxLegacyDocument::convert (const juce::XmlElement& legacy, const juce::String& tag,
                                                              const juce::String& pluginName, const juce::String& version,
                                                              const ParameterMapping& mapping)
{
    std::vector<Entry> globals;
    std::vector<Record> programs;

    if (tag == "fxb")
    {
        const auto parts = elementsOf (legacy, 4);

        if (parts.size() < 4)
            return nullptr;

        appendEntries (*parts[2], globalValueCount, mapping, globals);

        for (auto* program : elementsOf (*parts[3], programCount))
            programs.push_back (readProgram (*program, mapping));
    }
    else if (tag == "fxp")
    {
        const auto parts = elementsOf (legacy, 1);

        if (parts.empty())
            return nullptr;

        programs.push_back (readProgram (*parts.front(), mapping));
    }
    else
    {
        return nullptr;
    }

    return build (tag, pluginName, version, globals, programs);
}
