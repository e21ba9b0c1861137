#include "framework/AlxPin.h"

#include <algorithm>

void AlxPinBase::disconnect (AlxCableBase* cable)
{
    cables.erase (std::remove (cables.begin(), cables.end(), cable), cables.end());
}

void AlxPinBase::clearCables()
{
    for (auto* cable : cables)
        cable->clear();
}
