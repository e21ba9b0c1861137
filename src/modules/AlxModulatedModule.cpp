#include "modules/AlxModulatedModule.h"

#include "modules/AlxLFOGroupModule.h"
#include "modules/AlxTransportModule.h"

#include <vector>

AlxTransportModule* AlxModulatedModule::getTransport() const
{
    return transportModule.get (*this);
}

AlxLFOGroupModule* AlxModulatedModule::getLfoGroup() const
{
    return lfoGroupModule.get (*this);
}

void AlxModulatedModule::addModulatedParameters (std::initializer_list<std::pair<AlxDomain*, const char*>> settings)
{
    std::vector<int> hostIndices;

    for (size_t i = 0; i < 2 * settings.size(); ++i)
        hostIndices.push_back (takeHostIndex());

    auto* sources = getGeneralDomains().getModulationSourceDomain();
    int id = 0;

    for (auto& [domain, sourceName] : settings)
    {
        addProgramParameter (id, hostIndices[(size_t) id], domain);
        addProgramParameter (id + 1, hostIndices[(size_t) id + 1], sources, sourceName);
        id += 2;
    }

    rebuildIdTables();

    for (int setting = 0; setting < id; setting += 2)
        setProgramModulationSource (setting, setting + 1);
}

AlxParameter* AlxModulatedModule::programParameter (int id) const
{
    return getProgramParameters()->findById (id);
}

AlxLFOGroupModule::Reading AlxModulatedModule::readingOf (int id) const
{
    const auto* transport = getTransport();
    return getLfoGroup()->readingOf (programParameter (id), transport->getNumerator(), transport->getDenominator());
}

AlxValue* AlxModulatedModule::modulatedValueAt (int id, double t) const
{
    bool modulated = false;
    return getLfoGroup()->modulatedValue (programParameter (id), t, modulated);
}
