#pragma once

#include "framework/AlxDomain.h"

#include <memory>
#include <vector>

// Owns a group of domains. Module-specific sets add one accessor per domain, in domain order.
class AlxDomainSet
{
public:
    AlxDomainSet() = default;
    virtual ~AlxDomainSet() = default;

    const std::vector<std::unique_ptr<AlxDomain>>& getDomains() const { return domains; }
    AlxDomain* getDomain (int position) const;

protected:
    template <typename DomainClass, typename... Args>
    DomainClass* add (Args&&... args)
    {
        auto domain = std::make_unique<DomainClass> (this, std::forward<Args> (args)...);
        auto* raw = domain.get();
        domains.push_back (std::move (domain));
        return raw;
    }

private:
    std::vector<std::unique_ptr<AlxDomain>> domains;

    JUCE_DECLARE_NON_COPYABLE (AlxDomainSet)
};
