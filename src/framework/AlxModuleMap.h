#pragma once

#include <map>

class AlxModule;

// Module id -> module (not owned). The first registration of an id wins.
class AlxModuleMap
{
public:
    AlxModuleMap() = default;
    virtual ~AlxModuleMap() = default;

    virtual AlxModule* lookup (int id) const
    {
        auto it = modules.find (id);
        return it != modules.end() ? it->second : nullptr;
    }

    virtual int size() const { return (int) modules.size(); }
    virtual void registerModule (AlxModule* module, int id) { modules.emplace (id, module); }

private:
    std::map<int, AlxModule*> modules;
};
