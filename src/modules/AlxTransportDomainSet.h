#pragma once

#include "framework/AlxDomainSet.h"
#include "framework/AlxRealDomain.h"

// A continuous domain edited as a number: parameters over it keep a real number of their own,
// which must lie within [minimum, maximum]. It lists one value, the default, for display.
class AlxNumericDomain : public AlxListDomain
{
public:
    AlxNumericDomain (AlxDomainSet* set, const juce::String& name, const juce::String& label,
                      const juce::String& description, double minimum, double maximum,
                      double defaultReal, const juce::String& defaultText);

    bool isIndexed() const override { return false; }
    bool isNamed() const override { return false; }
    bool acceptsRealValue (float value) const override;

    double getMinimum() const { return minimum; }
    double getMaximum() const { return maximum; }

private:
    const double minimum, maximum;
};

// Tempo in beats per minute, 20 ... 999.
class AlxBpmDomain : public AlxNumericDomain
{
public:
    explicit AlxBpmDomain (AlxDomainSet* set);
};

// Time-signature numerator, 1 ... 99.
class AlxTimeSigNumeratorDomain : public AlxNumericDomain
{
public:
    explicit AlxTimeSigNumeratorDomain (AlxDomainSet* set);
};

// Time-signature denominator, 1 ... 16.
class AlxTimeSigDenominatorDomain : public AlxNumericDomain
{
public:
    explicit AlxTimeSigDenominatorDomain (AlxDomainSet* set);
};

// "Bar", "Beat", "1/4" (real values 0, 1, 2): the unit musical lengths are counted in.
class AlxTimeUnitDomain : public AlxListDomain
{
public:
    enum Unit
    {
        bar = 0,
        beat = 1,
        quarter = 2
    };

    explicit AlxTimeUnitDomain (AlxDomainSet* set);
};

// "Stopped", "Armed", "Playing". All three carry the real value 0: a state is told apart by
// which value object is current.
class AlxTransportStateDomain : public AlxListDomain
{
public:
    explicit AlxTransportStateDomain (AlxDomainSet* set);

    AlxValue* getStopped() const { return stopped; }
    AlxValue* getArmed() const { return armed; }
    AlxValue* getPlaying() const { return playing; }

private:
    AlxValue* stopped;
    AlxValue* armed;
    AlxValue* playing;
};

// The transport's domains, in their fixed order.
class AlxTransportDomainSet : public AlxDomainSet
{
public:
    AlxTransportDomainSet();

    AlxBpmDomain* getBpmDomain() const { return bpmDomain; }
    AlxTimeSigNumeratorDomain* getNumeratorDomain() const { return numeratorDomain; }
    AlxTimeSigDenominatorDomain* getDenominatorDomain() const { return denominatorDomain; }
    AlxTimeUnitDomain* getTimeUnitDomain() const { return timeUnitDomain; }
    AlxTransportStateDomain* getStateDomain() const { return stateDomain; }

private:
    AlxBpmDomain* bpmDomain;
    AlxTimeSigNumeratorDomain* numeratorDomain;
    AlxTimeSigDenominatorDomain* denominatorDomain;
    AlxTimeUnitDomain* timeUnitDomain;
    AlxTransportStateDomain* stateDomain;
};
