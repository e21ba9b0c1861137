#include "framework/AlxModule.h"

#include "framework/AlxMessageCode.h"
#include "framework/AlxPresetFile.h"
#include "framework/AlxRealParameter.h"
#include "framework/AlxStateChunk.h"
#include "framework/AlxStateNames.h"

#include <optional>

namespace
{
    AlxParameter* findParameter (const AlxParameterSet& set, int parameterId)
    {
        for (auto& p : set.getParameters())
            if (p->getId() == parameterId)
                return p.get();

        return nullptr;
    }

    bool hasChildElement (const juce::XmlElement& e) { return e.getNumChildElements() > 0; }

    // The `i` of a `pgm` as createProgramXml writes it: decimal digits, perhaps after a minus
    // sign. Anything else reads as absent, instead of as 0 or a wrapped-around number, which
    // would load the element into a program it does not name.
    std::optional<int> readProgramIndex (const juce::XmlElement& element)
    {
        const auto text = element.getStringAttribute ("i");
        const auto digits = text.startsWithChar ('-') ? text.substring (1) : text;

        if (digits.isEmpty() || digits.length() > 9 || ! digits.containsOnly ("0123456789"))
            return std::nullopt;

        return text.getIntValue();
    }
}

AlxModule::AlxModule (AlxModuleContainer* container_, int id_, const juce::String& name_)
    : moduleContainer (container_), identifier (id_), moduleName (name_),
      globalParameters (std::make_unique<AlxParameterSet>()),
      statusParameters (std::make_unique<AlxParameterSet>()),
      propertySet (std::make_unique<AlxPropertySet>())
{
    for (int i = 0; i < numPrograms; ++i)
        programSets.push_back (std::make_unique<AlxParameterSet>());

    addStatusParameter (0, moduleContainer->getGeneralDomains().getNullDomain());
    statusParameters->rebuildIdTable();
}

AlxModule::~AlxModule()
{
    destroyContents();
}

void AlxModule::destroyContents()
{
    if (attachedFlag)
        moduleContainer->getBroadcastSet().removeSinkFromAll (this);

    attachedFlag = false;
    programLinks.reset();
    globalParameters.reset();
    selectedChildGlobalLinks.reset();
    selectedChildProgramLinks.reset();
    programSets.clear();
    statusParameters.reset();

    while (! childModules.empty())
        childModules.pop_back();

    modulePins.clear();
    propertySet.reset();
}

void AlxModule::handleMessage (void* source, int code, std::uint32_t timeMs)
{
    if (AlxMessageCode::kindOf (code) == AlxMessageCode::valueChanged && AlxMessageCode::reasonOf (code) != 8)
        setModified (true);

    handleModuleMessage (source, code, timeMs);
}

void AlxModule::initialise()
{
    moduleContainer->getBroadcastSet().addSinkToAll (this);
    attachedFlag = true;
}

AlxParameterSet* AlxModule::getProgramSet (int program) const
{
    return isValidProgram (program) ? programSets[(size_t) program].get() : nullptr;
}

void AlxModule::attachLinks (std::unique_ptr<AlxLinkParameterSet>& links, const AlxParameterSet& source)
{
    if (links != nullptr)
        links->retarget (source);
    else
        links = std::make_unique<AlxLinkParameterSet> (source);
}

void AlxModule::setCurrentProgram (int program)
{
    if (program == currentProgram || programSets.empty() || ! isValidProgram (program))
        return;

    currentProgram = program;
    attachLinks (programLinks, *programSets[(size_t) program]);
    programLinks->resendAll();

    for (auto& child : childModules)
        child->setCurrentProgram (program);

    currentProgramChanged();
}

std::unique_ptr<juce::XmlElement> AlxModule::createXml (bool programOnly, int programIndex) const
{
    auto element = std::make_unique<juce::XmlElement> (AlxStateNames::module);
    element->setAttribute (AlxStateNames::id, identifier);

    if (getName().isNotEmpty())
        element->setAttribute (AlxStateNames::name, getName());

    if (versionString.isNotEmpty())
        element->setAttribute (AlxStateNames::version, versionString);

    if (auto extension = createExtensionXml (programOnly, programIndex))
        element->createNewChildElement ("ext")->addChildElement (extension.release());

    auto appendIfFilled = [&element] (std::unique_ptr<juce::XmlElement> child)
    {
        if (hasChildElement (*child))
            element->addChildElement (child.release());
    };

    if (programOnly)
    {
        appendIfFilled (createProgramXml (programIndex));
    }
    else
    {
        appendIfFilled (createGlobalXml());
        appendIfFilled (createProgramsXml());
    }

    if (! childModules.empty())
    {
        auto* cm = element->createNewChildElement ("cm");

        for (auto& child : childModules)
            cm->addChildElement (child->createXml (programOnly, programIndex).release());
    }

    return element;
}

void AlxModule::restoreXml (const juce::XmlElement& element, bool programOnly, int programIndex, bool notify)
{
    if (auto* ext = element.getChildByName ("ext"))
        restoreExtensionXml (*ext, programOnly, programIndex, notify);

    if (programOnly)
    {
        if (auto* pgm = element.getChildByName ("pgm"))
            restoreProgramXml (programIndex, *pgm, notify);
    }
    else
    {
        if (auto* glob = element.getChildByName ("glob"))
            restoreGlobalXml (*glob, notify);

        if (auto* pgms = element.getChildByName ("pgms"))
            restoreProgramsXml (*pgms, notify);
    }

    if (auto* cm = element.getChildByName ("cm"))
        for (auto* mod : cm->getChildWithTagNameIterator ("mod"))
            if (auto* module = moduleContainer->findModule (mod->getIntAttribute ("i", -99999)))
                module->restoreXml (*mod, programOnly, programIndex, notify);
}

std::unique_ptr<juce::XmlElement> AlxModule::createGlobalXml() const
{
    auto glob = std::make_unique<juce::XmlElement> (AlxStateNames::global);

    if (globalParameters->size() > 0)
        glob->addChildElement (globalParameters->createXml().release());

    auto properties = propertySet->createXml (false);

    if (properties->getNumAttributes() > 0)
        glob->addChildElement (properties.release());

    return glob;
}

void AlxModule::restoreGlobalXml (const juce::XmlElement& element, bool notify)
{
    if (auto* ps = element.getChildByName ("ps"))
        globalParameters->restoreXml (*ps, notify);

    if (auto* prs = element.getChildByName ("prs"))
        propertySet->restoreXml (*prs);
}

std::unique_ptr<juce::XmlElement> AlxModule::createProgramsXml() const
{
    auto pgms = std::make_unique<juce::XmlElement> (AlxStateNames::programs);

    for (int i = 0; i < (int) programSets.size(); ++i)
    {
        auto pgm = createProgramXml (i);

        if (hasChildElement (*pgm))
            pgms->addChildElement (pgm.release());
    }

    return pgms;
}

std::unique_ptr<juce::XmlElement> AlxModule::createProgramXml (int programIndex) const
{
    auto pgm = std::make_unique<juce::XmlElement> (AlxStateNames::program);
    pgm->setAttribute (AlxStateNames::id, programIndex);

    if (auto* set = getProgramSet (programIndex))
        if (set->size() > 0)
            pgm->addChildElement (set->createXml().release());

    return pgm;
}

void AlxModule::restoreProgramsXml (const juce::XmlElement& element, bool notify)
{
    for (auto* pgm : element.getChildWithTagNameIterator ("pgm"))
        restoreProgramXmlAt (*pgm, notify);
}

void AlxModule::restoreProgramXml (int programIndex, const juce::XmlElement& element, bool notify)
{
    // A program outside the bank has no set to load into; it is skipped.
    auto* set = getProgramSet (programIndex);

    if (set == nullptr)
        return;

    if (auto* ps = element.getChildByName ("ps"))
        set->restoreXml (*ps, notify);
}

void AlxModule::restoreProgramXmlAt (const juce::XmlElement& element, bool notify)
{
    if (const auto programIndex = readProgramIndex (element))
        restoreProgramXml (*programIndex, element, notify);
}

std::unique_ptr<juce::XmlElement> AlxModule::createExtensionXml (bool, int) const
{
    return nullptr;
}

void AlxModule::restoreExtensionXml (const juce::XmlElement&, bool, int, bool) {}

void AlxModule::resendParameterValues()
{
    globalParameters->resendAll();

    if (programLinks != nullptr)
        programLinks->resendAll();

    for (auto& child : childModules)
        child->resendParameterValues();
}

void AlxModule::stateLoaded()
{
    for (auto& child : childModules)
        child->stateLoaded();
}

void AlxModule::domainsChanged()
{
    for (auto& child : childModules)
        child->domainsChanged();
}

void AlxModule::addSinkRecursive (AlxMessageSink* sink, bool skipStatus)
{
    globalParameters->addSinkToAll (sink);

    if (programLinks != nullptr)
        programLinks->addSinkToAll (sink);

    if (! skipStatus)
        statusParameters->addSinkToAll (sink);

    for (auto& child : childModules)
        child->addSinkRecursive (sink, skipStatus);
}

void AlxModule::removeSinkRecursive (AlxMessageSink* sink, bool skipStatus)
{
    for (auto it = childModules.rbegin(); it != childModules.rend(); ++it)
        (*it)->removeSinkRecursive (sink, skipStatus);

    if (! skipStatus)
        statusParameters->removeSinkFromAll (sink);

    if (programLinks != nullptr)
        programLinks->removeSinkFromAll (sink);

    globalParameters->removeSinkFromAll (sink);
}

void AlxModule::setSuspended (bool suspended)
{
    for (auto& child : childModules)
        child->setSuspended (suspended);
}

void AlxModule::prepareToPlay (double sampleRate, int blockSize)
{
    for (auto& child : childModules)
        child->prepareToPlay (sampleRate, blockSize);
}

void AlxModule::releaseResources()
{
    for (auto& child : childModules)
        child->releaseResources();
}

void AlxModule::process (int numSamples)
{
    processBlockBody (numSamples);
    applyPendingReset();
    setModified (false);
}

void AlxModule::processHostBlock (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                  bool flag, juce::MidiBuffer& midiMessages)
{
    processHostBlockBody (input, output, flag, midiMessages);
}

void AlxModule::selectChild (int index)
{
    if (index == selectedChild || index < 0 || index >= (int) childModules.size())
        return;

    selectedChild = index;
    auto& child = *childModules[(size_t) index];

    const bool globalRetargeted = selectedChildGlobalLinks != nullptr;
    attachLinks (selectedChildGlobalLinks, *child.getGlobalParameters());

    if (globalRetargeted)
        selectedChildGlobalLinks->resendAll();

    if (auto* childLinks = child.getProgramParameters())
    {
        const bool programRetargeted = selectedChildProgramLinks != nullptr;
        attachLinks (selectedChildProgramLinks, *childLinks);

        if (programRetargeted)
            selectedChildProgramLinks->resendAll();
    }
}

AlxModule* AlxModule::getSelectedChild() const
{
    return selectedChild >= 0 && selectedChild < (int) childModules.size() ? childModules[(size_t) selectedChild].get() : nullptr;
}

void AlxModule::clearInputPins()
{
    for (auto& pin : modulePins)
        if (pin->isInput())
            pin->clearCables();
}

void AlxModule::clearOutputPins()
{
    for (auto& pin : modulePins)
        if (pin->isOutput())
            pin->clearCables();
}

void AlxModule::getVersion (int& major, int& minor, int& build) const
{
    major = versionMajor;
    minor = versionMinor;
    build = versionBuild;
}

void AlxModule::setVersion (int major, int minor, int build)
{
    versionMajor = major;
    versionMinor = minor;
    versionBuild = build;
    versionString = juce::String (major) + "." + juce::String (minor) + "." + juce::String (build);
}

bool AlxModule::handleModuleMessage (void* source, int code, std::uint32_t)
{
    auto* broadcast = moduleContainer->getBroadcastParameter();

    if (source == broadcast && AlxMessageCode::kindOf (code) == AlxMessageCode::resetRequest)
    {
        const juce::ScopedLock callbackLock (getCallbackLock());
        const juce::ScopedLock parameterLock (broadcast->getLock());
        setResetPending (true);
        return true;
    }

    return false;
}

void AlxModule::applyPendingReset()
{
    if (isResetPending())
        setResetPending (false);
}

void AlxModule::processBlockBody (int) {}

void AlxModule::processHostBlockBody (const juce::AudioSampleBuffer&, juce::AudioSampleBuffer&, bool, juce::MidiBuffer&) {}

AlxModule* AlxModule::addChild (std::unique_ptr<AlxModule> child)
{
    childModules.push_back (std::move (child));
    return childModules.back().get();
}

void AlxModule::registerInModuleMap()
{
    moduleContainer->getModuleMap().registerModule (this, identifier);
}

int AlxModule::takeHostIndex()
{
    return moduleContainer->getHostIndexAllocator().take();
}

int AlxModule::takeInternalIndex()
{
    return moduleContainer->getInternalIndexAllocator().take();
}

AlxParameter* AlxModule::addGlobalParameter (int parameterId, int hostIndex, AlxDomain* domain, const juce::String& parameterName)
{
    return globalParameters->add (std::make_unique<AlxRealParameter> (globalParameters.get(), parameterId, hostIndex,
                                                                      domain, false, parameterName));
}

void AlxModule::addProgramParameter (int parameterId, int hostIndex, AlxDomain* domain, const juce::String& parameterName)
{
    for (auto& set : programSets)
        set->add (std::make_unique<AlxRealParameter> (set.get(), parameterId, hostIndex, domain, false, parameterName));
}

void AlxModule::setProgramModulationSource (int parameterId, int sourceId)
{
    for (auto& set : programSets)
        if (auto* p = findParameter (*set, parameterId))
            p->setModulationSource (findParameter (*set, sourceId));
}

AlxParameter* AlxModule::addStatusParameter (int parameterId, AlxDomain* domain)
{
    return statusParameters->add (std::make_unique<AlxRealParameter> (statusParameters.get(), parameterId, -1, domain));
}

void AlxModule::rebuildIdTables()
{
    globalParameters->rebuildIdTable();
    statusParameters->rebuildIdTable();

    for (auto& set : programSets)
        set->rebuildIdTable();
}

void AlxModule::registerParameters()
{
    auto& map = moduleContainer->getParameterMap();
    map.registerSet (*globalParameters);

    if (programLinks != nullptr)
        map.registerSet (*programLinks);
}

bool AlxModule::loadChunk (const void* data, size_t size, bool programOnly, int programIndex)
{
    if (programOnly && ! isValidProgram (programIndex))
        return false;

    auto document = checkStateXml (AlxStateChunk::parse (data, size), programOnly ? "fxp" : "fxb");

    if (document == nullptr)
        return false;

    if (auto* mod = document->getFirstChildElement())
        restoreXml (*mod, programOnly, programIndex, false);

    domainsChanged();
    stateLoaded();
    resendParameterValues();
    return true;
}

bool AlxModule::loadBankChunk (const void* data, size_t size)
{
    return loadChunk (data, size, false, 0);
}

bool AlxModule::loadProgramChunk (int programIndex, const void* data, size_t size)
{
    return loadChunk (data, size, true, programIndex);
}

void AlxModule::saveBankChunk (juce::MemoryBlock& destination) const
{
    juce::XmlElement document ("fxb");
    document.addChildElement (createXml (false, 0).release());
    AlxStateChunk::write (document, destination);
}

void AlxModule::saveProgramChunk (int programIndex, juce::MemoryBlock& destination) const
{
    juce::XmlElement document ("fxp");
    document.addChildElement (createXml (true, programIndex).release());
    AlxStateChunk::write (document, destination);
}

bool AlxModule::saveBankFile (const juce::File& file) const
{
    juce::MemoryBlock chunk;
    saveBankChunk (chunk);
    return AlxPresetFile::writeFile (file, AlxPresetFile::build (AlxPresetFile::Kind::bank, getPluginId(), {}, chunk));
}

bool AlxModule::saveProgramFile (int programIndex, const juce::File& file) const
{
    if (! isValidProgram (programIndex))
        return false;

    juce::MemoryBlock chunk;
    saveProgramChunk (programIndex, chunk);
    return AlxPresetFile::writeFile (file, AlxPresetFile::build (AlxPresetFile::Kind::program, getPluginId(),
                                                                 findProgramName (programIndex), chunk));
}

bool AlxModule::loadBankFile (const juce::File& file)
{
    juce::MemoryBlock content;

    if (! AlxPresetFile::readFile (file, content))
        return false;

    const auto chunk = AlxPresetFile::findChunk (AlxPresetFile::Kind::bank, content.getData(), content.getSize());
    return chunk.has_value() && loadBankChunk (chunk->data, chunk->size);
}

bool AlxModule::loadProgramFile (int programIndex, const juce::File& file)
{
    juce::MemoryBlock content;

    if (! AlxPresetFile::readFile (file, content))
        return false;

    const auto chunk = AlxPresetFile::findChunk (AlxPresetFile::Kind::program, content.getData(), content.getSize());
    return chunk.has_value() && loadProgramChunk (programIndex, chunk->data, chunk->size);
}

juce::String AlxModule::findProgramName (int programIndex) const
{
    auto programName = getProgramName (programIndex);

    for (auto it = childModules.begin(); programName.isEmpty() && it != childModules.end(); ++it)
        programName = (*it)->findProgramName (programIndex);

    return programName;
}

namespace
{
    struct Version
    {
        explicit Version (const juce::String& text)
        {
            juce::StringArray parts;
            parts.addTokens (text, ".", {});
            major = parts.size() > 0 ? parts[0].getIntValue() : 0;
            minor = parts.size() > 1 ? parts[1].getIntValue() : 0;
        }

        int major, minor;
    };
}

std::unique_ptr<juce::XmlElement> AlxModule::checkStateXml (std::unique_ptr<juce::XmlElement> element,
                                                            const juce::String& expectedTag)
{
    if (element == nullptr)
        return nullptr;

    juce::String storedName, storedVersion, tag;

    if (element->hasTagName ("plugin"))
    {
        // The 1.0 layout: names on the root element, the bank as its fourth child.
        storedName = element->getStringAttribute ("pluginName");
        storedVersion = element->getStringAttribute ("pluginVersion");
        auto* fourth = element->getChildElement (3);
        auto* first = element->getFirstChildElement();

        if (element->getNumChildElements() > 3 && fourth != nullptr && fourth->hasTagName ("fxb"))
            tag = "fxb";
        else if (first != nullptr && first->hasTagName ("fxp"))
            tag = "fxp";
    }
    else if (element->hasTagName ("fxb") || element->hasTagName ("fxp"))
    {
        if (auto* mod = element->getFirstChildElement(); mod != nullptr && mod->hasTagName ("mod"))
        {
            storedName = mod->getStringAttribute ("n");
            storedVersion = mod->getStringAttribute ("v");
        }

        tag = element->getTagName();
    }

    if (storedName != getPluginName() || tag != expectedTag)
        return nullptr;

    const Version stored (storedVersion), own (versionString);

    if (stored.major == own.major && stored.minor == own.minor)
        return element;

    if (stored.major != 1)
        return nullptr;

    if (stored.minor == 1)
        return own.major == 1 && own.minor == 5 ? std::move (element) : nullptr;

    if (stored.minor == 0 && own.major == 1 && (own.minor == 5 || own.minor == 1))
        return upgradeLegacyXml (std::move (element), expectedTag);

    return nullptr;
}

std::unique_ptr<juce::XmlElement> AlxModule::upgradeLegacyXml (std::unique_ptr<juce::XmlElement>, const juce::String&)
{
    return nullptr;
}
