#pragma once

#include "framework/AlxLinkParameter.h"
#include "framework/AlxParameterSet.h"

// A set of link parameters shaped like a source set (same parameters, same nested subsets).
// Modules expose their current program through one and retarget it on program changes.
class AlxLinkParameterSet : public AlxParameterSet
{
public:
    explicit AlxLinkParameterSet (const AlxParameterSet& source);

    // Points the i-th link at the source's i-th parameter, recursively; sets have the same shape.
    virtual void retarget (const AlxParameterSet& source);
};
