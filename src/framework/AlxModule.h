#pragma once

#include "framework/AlxLinkParameterSet.h"
#include "framework/AlxMessageSink.h"
#include "framework/AlxModuleContainer.h"
#include "framework/AlxPin.h"
#include "framework/AlxPropertySet.h"

#include <atomic>
#include <array>
#include <memory>
#include <typeinfo>
#include <vector>

// One processing stage of the module tree. A module owns its parameters (one global set, one set
// per program, one status set whose first parameter carries the module's events), its pins, its
// children and a property set. It observes its own parameters, takes part in block processing
// on the audio thread, and writes and reads its part of the state document.
class AlxModule : public AlxMessageSink
{
public:
    static constexpr int numPrograms = 128;

    AlxModule (AlxModuleContainer* container, int id, const juce::String& name = {});
    ~AlxModule() override;

    void handleMessage (void* source, int code, std::uint32_t timeMs) override;

    virtual AlxModuleContainer* getContainer() const { return moduleContainer; }
    virtual int getId() const { return identifier; }
    virtual void setId (int newId) { identifier = newId; }
    virtual juce::String getName() const { return moduleName; }
    virtual void initialise();
    virtual AlxParameterSet* getGlobalParameters() const { return globalParameters.get(); }
    virtual const std::vector<std::unique_ptr<AlxParameterSet>>& getProgramSets() const { return programSets; }
    virtual void setCurrentProgram (int program);
    virtual int getCurrentProgram() const { return currentProgram; }
    virtual AlxLinkParameterSet* getProgramParameters() const { return programLinks.get(); }
    virtual void currentProgramChanged() {}

    // The state document: element `mod` with this module's id, name, version, extension content,
    // global and program settings and its children.
    virtual std::unique_ptr<juce::XmlElement> createXml (bool programOnly, int programIndex) const;
    virtual void restoreXml (const juce::XmlElement& element, bool programOnly, int programIndex, bool notify);
    virtual std::unique_ptr<juce::XmlElement> createGlobalXml() const;
    virtual void restoreGlobalXml (const juce::XmlElement& element, bool notify);
    virtual std::unique_ptr<juce::XmlElement> createProgramsXml() const;
    virtual std::unique_ptr<juce::XmlElement> createProgramXml (int programIndex) const;
    virtual void restoreProgramsXml (const juce::XmlElement& element, bool notify);
    virtual void restoreProgramXml (int programIndex, const juce::XmlElement& element, bool notify);
    virtual void restoreProgramXmlAt (const juce::XmlElement& element, bool notify);
    virtual std::unique_ptr<juce::XmlElement> createExtensionXml (bool programOnly, int programIndex) const;
    virtual void restoreExtensionXml (const juce::XmlElement& element, bool programOnly, int programIndex, bool notify);

    virtual void resendParameterValues();
    virtual void stateLoaded();
    virtual void domainsChanged();
    virtual void addSinkRecursive (AlxMessageSink* sink, bool skipStatus);
    virtual void removeSinkRecursive (AlxMessageSink* sink, bool skipStatus);
    virtual void setSuspended (bool suspended);
    virtual void prepareToPlay (double sampleRate, int blockSize);
    virtual void releaseResources();
    // Audio thread: the block's work, then a pending reset, then the modified flag is cleared.
    virtual void process (int numSamples);
    virtual void processHostBlock (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                   bool flag, juce::MidiBuffer& midiMessages);
    virtual const std::vector<std::unique_ptr<AlxModule>>& getChildren() const { return childModules; }
    virtual int getSelectedChildIndex() const { return selectedChild; }
    virtual void selectChild (int index);
    virtual AlxModule* getSelectedChild() const;
    virtual AlxLinkParameterSet* getSelectedChildGlobalLinks() const { return selectedChildGlobalLinks.get(); }
    virtual AlxLinkParameterSet* getSelectedChildProgramLinks() const { return selectedChildProgramLinks.get(); }
    virtual AlxGeneralDomainSet& getGeneralDomains() const { return moduleContainer->getGeneralDomains(); }
    virtual const std::vector<std::unique_ptr<AlxPinBase>>& getPins() const { return modulePins; }
    virtual bool isAttached() const { return attachedFlag; }
    virtual void setAttached (bool a) { attachedFlag = a; }
    virtual AlxParameterSet* getStatusParameters() const { return statusParameters.get(); }
    virtual void clearInputPins();
    virtual void clearOutputPins();
    // State chunks (called on the root, message thread): the whole bank as document `fxb`, one
    // program as `fxp`. Loading refuses documents of another plug-in or an unsupported version and
    // then changes nothing; it answers whether a document was loaded.
    virtual bool loadBankChunk (const void* data, size_t size);
    virtual void saveBankChunk (juce::MemoryBlock& destination) const;
    virtual bool loadProgramChunk (int programIndex, const void* data, size_t size);
    virtual void saveProgramChunk (int programIndex, juce::MemoryBlock& destination) const;
    // Preset files (called on the root, message thread): the chunks above in the bank (fxb) and
    // program (fxp) file layouts. Saving replaces the file in one step and answers whether it was
    // written. Loading answers whether the file held a document of its kind that was loaded; a
    // file that cannot be read or is not such a preset changes nothing.
    virtual bool saveBankFile (const juce::File& file) const;
    virtual bool loadBankFile (const juce::File& file);
    virtual bool saveProgramFile (int programIndex, const juce::File& file) const;
    virtual bool loadProgramFile (int programIndex, const juce::File& file);
    virtual void loadFactoryBank() {}
    virtual juce::String getProgramName (int) const { return {}; }
    virtual juce::String getPluginName() const { return {}; }
    virtual void getVersion (int& major, int& minor, int& build) const;
    virtual juce::String getVersionString() const { return versionString; }
    virtual void setVersion (int major, int minor, int build);
    virtual int getPluginId() const { return 0; }
    // The document if it can be loaded here (perhaps converted from an older layout), else null.
    virtual std::unique_ptr<juce::XmlElement> checkStateXml (std::unique_ptr<juce::XmlElement> element,
                                                             const juce::String& expectedTag);
    virtual AlxParameter* getEventParameter() const { return statusParameters->getParameter (0); }
    virtual AlxPropertySet* getPropertySet() const { return propertySet.get(); }
    virtual bool isResetPending() const { return resetPending.load(); }
    virtual void setResetPending (bool pending) { resetPending.store (pending); }
    virtual void activate() { activeFlag = true; }
    virtual void deactivate() { activeFlag = false; }
    virtual bool isActive() const { return activeFlag; }
    virtual void setActive (bool a) { activeFlag = a; }
    virtual bool isModified() const { return modifiedFlag.load(); }
    virtual void setModified (bool m) { modifiedFlag.store (m); }
    // Message thread. Concrete modules handle the kinds they know and pass the rest on; the base
    // turns a reset request on the broadcast parameter into a pending reset.
    virtual bool handleModuleMessage (void* source, int code, std::uint32_t timeMs);
    virtual void applyPendingReset();
    virtual void processBlockBody (int numSamples);
    virtual void processHostBlockBody (const juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                       bool flag, juce::MidiBuffer& midiMessages);

    AlxModule* findModule (int moduleId) const { return moduleContainer->findModule (moduleId); }
    // The module of a class that names its module id (moduleId), or null.
    template <typename ModuleClass>
    ModuleClass* findModuleOf() const { return moduleContainer->findModuleOf<ModuleClass>(); }
    const juce::CriticalSection& getCallbackLock() const { return moduleContainer->getCallbackLock(); }
    AlxParameterSet* getProgramSet (int program) const;
    static bool isValidProgram (int program) { return program >= 0 && program < numPrograms; }

protected:
    // Destroys, in this order, the link sets, the parameter sets, the children (last added first),
    // the pins and the property set. The base destructor does it; a module that owns something its
    // parameters or children use (a domain set, a device manager) calls it first in its own
    // destructor, so those outlive everything that points into them. Safe to call twice.
    void destroyContents();

    // Converts a document of the 1.0 layout; modules that cannot answer null (refused).
    virtual std::unique_ptr<juce::XmlElement> upgradeLegacyXml (std::unique_ptr<juce::XmlElement> element,
                                                                const juce::String& tag);

    // Building blocks of initialise, shared by all concrete modules.
    AlxModule* addChild (std::unique_ptr<AlxModule> child);
    template <typename PinType>
    PinType* addPin (int marks)
    {
        modulePins.push_back (std::make_unique<PinType> (marks));
        return static_cast<PinType*> (modulePins.back().get());
    }
    // The pin at position when it is of exactly this type (as addPin made it), else null. The
    // stages look their pins up every block: comparing the type is a fraction of a dynamic_cast.
    template <typename PinType>
    PinType* getPin (int position) const
    {
        if (position < 0 || position >= (int) modulePins.size())
            return nullptr;

        auto* pin = modulePins[(size_t) position].get();
        return typeid (*pin) == typeid (PinType) ? static_cast<PinType*> (pin) : nullptr;
    }
    void registerInModuleMap();
    int takeHostIndex();
    int takeInternalIndex();
    AlxParameter* addGlobalParameter (int parameterId, int hostIndex, AlxDomain* domain, const juce::String& parameterName = {});
    // Adds the parameter, with the same id and host index, to every program set.
    void addProgramParameter (int parameterId, int hostIndex, AlxDomain* domain, const juce::String& parameterName = {});
    // In every program set, makes parameter sourceId the modulation source of parameterId.
    void setProgramModulationSource (int parameterId, int sourceId);
    AlxParameter* addStatusParameter (int parameterId, AlxDomain* domain);
    void rebuildIdTables();
    // Registers the global set and the current program's links in the container's parameter map.
    void registerParameters();

private:
    bool loadChunk (const void* data, size_t size, bool programOnly, int programIndex);
    // The name the tree gives a program: the first module, this one or a descendant, that names it.
    juce::String findProgramName (int programIndex) const;
    void attachLinks (std::unique_ptr<AlxLinkParameterSet>& links, const AlxParameterSet& source);

    AlxModuleContainer* const moduleContainer;
    int identifier;
    juce::String moduleName;
    std::unique_ptr<AlxParameterSet> globalParameters;
    std::unique_ptr<AlxLinkParameterSet> programLinks;
    std::vector<std::unique_ptr<AlxParameterSet>> programSets;
    std::vector<std::unique_ptr<AlxModule>> childModules;
    int selectedChild = -1;
    std::unique_ptr<AlxLinkParameterSet> selectedChildGlobalLinks;
    std::unique_ptr<AlxLinkParameterSet> selectedChildProgramLinks;
    int currentProgram = -1;
    std::vector<std::unique_ptr<AlxPinBase>> modulePins;
    bool attachedFlag = false;
    std::unique_ptr<AlxParameterSet> statusParameters;
    std::unique_ptr<AlxPropertySet> propertySet;
    juce::String versionString;
    int versionMajor = 0, versionMinor = 0, versionBuild = 0;
    std::atomic<bool> resetPending { false };
    bool activeFlag = false;
    std::atomic<bool> modifiedFlag { false };

    JUCE_DECLARE_NON_COPYABLE (AlxModule)
};
