#pragma once

#include "framework/AlxDomainSet.h"
#include "framework/AlxRealDomain.h"

// A program of the bank; its text is the preset name.
class AlxProgramValue : public AlxValue
{
public:
    using AlxValue::AlxValue;
};

// The 128 programs, named "Untitled 0" ... "Untitled 127" until a bank names them.
class AlxProgramDomain : public AlxListDomain
{
public:
    static constexpr int numPrograms = 128;

    explicit AlxProgramDomain (AlxDomainSet* set);
};

class AlxProgramDomainSet : public AlxDomainSet
{
public:
    AlxProgramDomainSet() { programDomain = add<AlxProgramDomain>(); }

    AlxProgramDomain* getProgramDomain() const { return programDomain; }

private:
    AlxProgramDomain* programDomain;
};
