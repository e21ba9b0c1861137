#include "framework/AlxDomainSet.h"

AlxDomain* AlxDomainSet::getDomain (int position) const
{
    return position >= 0 && position < (int) domains.size() ? domains[(size_t) position].get() : nullptr;
}
