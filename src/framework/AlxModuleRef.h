#pragma once

#include <atomic>

// A module of the tree, found by its class the first time it is asked for and kept: a container's
// module map never forgets or replaces a module, so its first answer stays its answer. Stages
// ask for their neighbours many times per block (for every sample the groove's time is read
// at); the search with its dynamic_cast then runs once. Safe from any thread.
template <typename ModuleClass>
class AlxModuleRef
{
public:
    template <typename Owner>
    ModuleClass* get (const Owner& owner) const
    {
        auto* module = cached.load (std::memory_order_acquire);

        if (module == nullptr)
        {
            // Not found yet is not remembered: the module may be registered later.
            module = owner.template findModuleOf<ModuleClass>();
            cached.store (module, std::memory_order_release);
        }

        return module;
    }

private:
    mutable std::atomic<ModuleClass*> cached { nullptr };
};
