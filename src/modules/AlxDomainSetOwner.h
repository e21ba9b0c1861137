#pragma once

#include <memory>

// Holds a module's own domain set. A module inherits this before AlxModule, so the domains are
// destroyed after the module's parameters, which observe them until their last moment.
template <typename DomainSetClass>
class AlxDomainSetOwner
{
protected:
    AlxDomainSetOwner() = default;
    ~AlxDomainSetOwner() = default;

    std::unique_ptr<DomainSetClass> ownedDomainSet;
};
