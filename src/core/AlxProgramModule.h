#pragma once

#include "core/AlxProgramDomainSet.h"
#include "framework/AlxModule.h"

// Owns the choice of the current program and the programs' names. Its one parameter, over the
// program domain, is where the current program lives; when it changes, the whole tree switches
// to that program under the processor's callback lock, so a block sees either program whole.
class AlxProgramModule : public AlxModule
{
public:
    static constexpr int moduleId = 1000;

    // Preset commands, posted with reason 6 on the event parameter by the header's file menu and
    // the application's File menu; the editor's header carries them out.
    enum Command
    {
        savePreset = 13,
        loadPreset = 14,
        saveBank = 15,
        loadBank = 16,
        renamePreset = 17
    };

    explicit AlxProgramModule (AlxModuleContainer* container);
    ~AlxProgramModule() override;

    void initialise() override;
    int getCurrentProgram() const override;
    std::unique_ptr<juce::XmlElement> createExtensionXml (bool programOnly, int programIndex) const override;
    void restoreExtensionXml (const juce::XmlElement& element, bool programOnly, int programIndex, bool notify) override;
    void domainsChanged() override;
    juce::String getProgramName (int index) const override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;

    virtual AlxProgramDomainSet* getProgramDomainSet() const { return domainSet.get(); }
    virtual AlxParameter* getProgramParameter() const;
    virtual AlxValue* getCurrentProgramValue() const;
    // The host selects with reason 3 (code 0x2403) and the tree switches before this returns; any
    // other reason switches it when the parameter's message is delivered. Indices outside the bank
    // are ignored.
    virtual void selectProgram (int index, int code);
    virtual int getNumPrograms() const;
    virtual void renameProgram (int index, const juce::String& newName);

private:
    AlxValue* programValue (int index) const;

    std::unique_ptr<AlxProgramDomainSet> domainSet;
};
