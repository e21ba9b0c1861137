#include "core/AlxProgramModule.h"

#include "framework/AlxMessageCode.h"

#include <juce_audio_processors/juce_audio_processors.h>

AlxProgramModule* AlxModuleContainer::getProgramModule() const
{
    return findModuleOf<AlxProgramModule>();
}

AlxProgramModule::AlxProgramModule (AlxModuleContainer* container_) : AlxModule (container_, moduleId) {}

AlxProgramModule::~AlxProgramModule()
{
    destroyContents();
}

void AlxProgramModule::initialise()
{
    AlxModule::initialise();
    registerInModuleMap();
    domainSet = std::make_unique<AlxProgramDomainSet>();
    addGlobalParameter (0, takeInternalIndex(), domainSet->getProgramDomain());
    rebuildIdTables();
    setCurrentProgram (0);
    registerParameters();
    addSinkRecursive (this, false);
}

AlxParameter* AlxProgramModule::getProgramParameter() const
{
    return getGlobalParameters()->findById (0);
}

AlxValue* AlxProgramModule::getCurrentProgramValue() const
{
    return getProgramParameter()->getValue();
}

int AlxProgramModule::getCurrentProgram() const
{
    return getProgramParameter()->getValueIndex();
}

int AlxProgramModule::getNumPrograms() const
{
    return domainSet->getProgramDomain()->getNumValues();
}

AlxValue* AlxProgramModule::programValue (int index) const
{
    const auto& values = domainSet->getProgramDomain()->getValues();
    return index >= 0 && index < (int) values.size() ? values[(size_t) index].get() : nullptr;
}

void AlxProgramModule::selectProgram (int index, int code)
{
    auto* value = programValue (index);

    if (value == nullptr)
        return;

    const int reason = AlxMessageCode::reasonOf (code);
    const juce::ScopedLock sl (getCallbackLock());
    getProgramParameter()->setValue (value, reason, false, true);

    if (reason == AlxMessageCode::fromHost)
        getContainer()->getRootModule()->setCurrentProgram (index);
}

juce::String AlxProgramModule::getProgramName (int index) const
{
    auto* parameter = getProgramParameter();
    const juce::ScopedLock sl (parameter->getLock());

    if (index < 0 || index >= getNumPrograms())
        return {};

    auto* value = programValue (index);
    return value != nullptr ? value->getText() : juce::String ("null");
}

void AlxProgramModule::renameProgram (int index, const juce::String& newName)
{
    auto* parameter = getProgramParameter();
    const juce::ScopedLock sl (parameter->getLock());

    if (auto* value = programValue (index))
        value->setText (newName, AlxMessageCode::make (AlxMessageCode::textsChanged, AlxMessageCode::fromHost), true);
}

std::unique_ptr<juce::XmlElement> AlxProgramModule::createExtensionXml (bool programOnly, int programIndex) const
{
    if (! programOnly)
        return domainSet->getProgramDomain()->createXml();

    if (auto* value = programValue (programIndex))
        return value->createXml();

    return nullptr;
}

void AlxProgramModule::restoreExtensionXml (const juce::XmlElement& element, bool programOnly, int programIndex, bool notify)
{
    auto* first = element.getFirstChildElement();

    if (first == nullptr)
        return;

    if (programOnly && first->hasTagName ("val"))
    {
        if (auto* value = programValue (programIndex))
            value->setText (first->getStringAttribute ("n"),
                            AlxMessageCode::make (AlxMessageCode::textsChanged, AlxMessageCode::internal), notify);
    }
    else if (first->hasTagName ("dom"))
    {
        domainSet->getProgramDomain()->restoreXml (*first, notify);
    }
}

void AlxProgramModule::domainsChanged()
{
    getProgramParameter()->postDomainTextsChanged (AlxMessageCode::internal);
    AlxModule::domainsChanged();
}

bool AlxProgramModule::handleModuleMessage (void* source, int code, std::uint32_t timeMs)
{
    auto* parameter = getProgramParameter();

    if (source == parameter && AlxMessageCode::reasonOf (code) != AlxMessageCode::fromHost)
    {
        const juce::ScopedLock sl (getCallbackLock());
        getContainer()->getRootModule()->setCurrentProgram (parameter->getValueIndex());

        if (auto* processor = getContainer()->getFilter())
            processor->updateHostDisplay (juce::AudioProcessor::ChangeDetails().withProgramChanged (true));

        return true;
    }

    return AlxModule::handleModuleMessage (source, code, timeMs);
}
