#include "modules/AlxLFOGroupModule.h"

#include "framework/AlxMessageCode.h"
#include "modules/AlxLFOModule.h"
#include "modules/AlxTransportModule.h"

#include <cmath>
#include <limits>

AlxLFOGroupModule::AlxLFOGroupModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

AlxLFOGroupModule::~AlxLFOGroupModule()
{
    // Reads during the tear-down find no LFO, as they would find no children.
    lfos = {};
    destroyContents();
}

void AlxLFOGroupModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    domainSet = std::make_unique<AlxLFODomainSet>();
    selectedLfoParameter = addGlobalParameter (0, takeInternalIndex(), domainSet->getSelectedLFODomain());
    rebuildIdTables();

    for (int i = 0; i < numLfos; ++i)
    {
        const int id = AlxLFOModule::firstModuleId + i;
        auto lfo = std::make_unique<AlxLFOModule> (getContainer(), id, "L" + juce::String (id - 700099), *domainSet);
        lfo->initialise();
        lfos[(size_t) i] = lfo.get();
        addChild (std::move (lfo));
    }

    setCurrentProgram (0);
    selectChild (0);

    auto& map = getContainer()->getParameterMap();
    registerParameters();

    for (auto& child : getChildren())
    {
        map.registerSet (*child->getGlobalParameters());
        map.registerSet (*child->getProgramParameters());
    }

    addSinkRecursive (this, false);
}

AlxLFOModule* AlxLFOGroupModule::getLfo (int index) const
{
    return juce::isPositiveAndBelow (index, numLfos) ? lfos[(size_t) index] : nullptr;
}

AlxLFOModule* AlxLFOGroupModule::getSelectedLfo() const
{
    return dynamic_cast<AlxLFOModule*> (getSelectedChild());
}

AlxParameter* AlxLFOGroupModule::getSelectedParameter (int index) const
{
    auto* links = getSelectedChildProgramLinks();
    return links != nullptr ? links->findById (index) : nullptr;
}

AlxTransportModule* AlxLFOGroupModule::getTransport() const
{
    return transportModule.get (*this);
}

double AlxLFOGroupModule::lfoLevelFor (AlxParameter* p, double t, int numerator, int denominator, bool& modulated) const
{
    const AlxLFO* lfo = nullptr;

    {
        const juce::ScopedLock parameterLock (p->getLock());
        lfo = modulatingLfo (p, numerator, denominator);
    }

    modulated = lfo != nullptr;
    return lfo != nullptr ? lfo->valueAt (t) : 0.0;
}

const AlxLFO* AlxLFOGroupModule::modulatingLfo (AlxParameter* p, int numerator, int denominator) const
{
    auto* source = p->getModulationSource();

    if (source == nullptr)
        return nullptr;

    auto* lfoModule = getLfo (source->getValueIndex() - 1);

    if (lfoModule == nullptr)
        return nullptr;

    auto& lfo = lfoModule->getGenerator();
    lfo.setTimeSignature (numerator, denominator, false);
    return &lfo;
}

AlxValue* AlxLFOGroupModule::modulatedValue (AlxParameter* p, double t, bool& modulated) const
{
    auto* transport = getTransport();
    const auto reading = readingOf (p, transport->getNumerator(), transport->getDenominator());
    modulated = reading.isModulated();
    return reading.at (t);
}

AlxLFOGroupModule::Reading AlxLFOGroupModule::readingOf (AlxParameter* p, int numerator, int denominator) const
{
    Reading reading;
    const juce::ScopedLock parameterLock (p->getLock());
    reading.lfo = modulatingLfo (p, numerator, denominator);
    reading.modulated = reading.lfo != nullptr;
    reading.values = &p->getDomain()->getValues();

    if (reading.lfo == nullptr || reading.values->empty())
    {
        reading.lfo = nullptr;
        reading.fixed = p->getValue();
    }

    return reading;
}

double AlxLFOGroupModule::Reading::steadyUntil (double t) const
{
    if (lfo == nullptr)
        return std::numeric_limits<double>::infinity();

    at (t);
    return keeps (t) ? recentTo : t;
}

AlxValue* AlxLFOGroupModule::Reading::at (double t) const
{
    if (lfo == nullptr)
        return fixed;

    if (keeps (t))
        return recent;

    double stepLength = 0.0;
    const double level = lfo->valueAt (t, stepLength);
    // Level 0 selects the first value, like the smallest positive level.
    const int count = (int) values->size();
    const int index = juce::jlimit (0, count - 1, (int) std::ceil (count * level) - 1);
    auto* value = (*values)[(size_t) index].get();

    // The LFO finds its step from t in its own rounding; a margin of a thousandth of a step on
    // either side keeps every time counted here as inside a step inside it there too. Far from
    // the song start, or for a step of no length, nothing is kept.
    const double step = t / stepLength;
    constexpr double margin = 1.0e-3;

    if (std::isfinite (step) && std::abs (step) < 1.0e9)
    {
        const double first = std::floor (step);

        if (step - first > margin && first + 1.0 - step > margin)
        {
            recent = value;
            recentFrom = (first + margin) * stepLength;
            recentTo = (first + 1.0 - margin) * stepLength;
        }
    }

    return value;
}

bool AlxLFOGroupModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    if (source == selectedLfoParameter && AlxMessageCode::kindOf (code) == AlxMessageCode::valueChanged)
    {
        const juce::ScopedLock callbackLock (getCallbackLock());
        const juce::ScopedLock parameterLock (selectedLfoParameter->getLock());
        selectChild ((int) selectedLfoParameter->getValue()->getRealValue());
        return true;
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}

std::array<AlxParameterSet*, 4> AlxLFOGroupModule::editorSets() const
{
    return { getGlobalParameters(), getProgramParameters(), getSelectedChildGlobalLinks(), getSelectedChildProgramLinks() };
}

void AlxLFOGroupModule::addSinkRecursive (AlxMessageSink* sink, bool skipStatus)
{
    if (! skipStatus)
    {
        AlxModule::addSinkRecursive (sink, false);
        return;
    }

    for (auto* set : editorSets())
        if (set != nullptr)
            set->addSinkToAll (sink);
}

void AlxLFOGroupModule::removeSinkRecursive (AlxMessageSink* sink, bool skipStatus)
{
    if (! skipStatus)
    {
        AlxModule::removeSinkRecursive (sink, false);
        return;
    }

    const auto sets = editorSets();

    for (auto it = sets.rbegin(); it != sets.rend(); ++it)
        if (*it != nullptr)
            (*it)->removeSinkFromAll (sink);
}
