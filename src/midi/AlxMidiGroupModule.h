#pragma once

#include "framework/AlxMessageCode.h"
#include "framework/AlxModule.h"

// One direction of the MIDI stage: owns the domain set and the device manager of that direction
// and one child module that does the work of every block. The enabled devices travel in the state
// document as the group's extension, in full-state documents only: a single program does not
// carry devices.
//
// Devices are enabled and the values rebuilt on the message thread.
template <class DomainSet, class DeviceManager>
class AlxMidiGroupModule : public AlxModule
{
public:
    ~AlxMidiGroupModule() override
    {
        // The child's parameters point into the domain set and its collector is registered with
        // the device manager, so the child goes first.
        destroyContents();
    }

    virtual DomainSet* getDomainSet() const { return domainSet.get(); }
    virtual DeviceManager* getDeviceManager() const { return deviceManager.get(); }

    // The device choice then lists exactly the enabled devices. The child's choice (its parameter
    // 0) moves with its device at once, or falls back to the default when the device is no longer
    // enabled; this happens under the callback lock, so no block sees the new list with the old
    // position, which may now belong to another device.
    void rebuildDeviceValues()
    {
        juce::StringArray names;
        deviceManager->getEnabledNames (names);
        auto* child = childAt (0);
        auto* choice = child != nullptr ? child->getGlobalParameters()->findById (0) : nullptr;

        const juce::ScopedLock sl (getCallbackLock());
        const auto chosen = choice != nullptr ? choice->getValue()->getText() : juce::String();
        domainSet->getDeviceDomain()->setDeviceNames (names);

        if (choice != nullptr)
        {
            auto* domain = choice->getDomain();
            auto* value = domain->findByText (chosen);
            choice->setValue (value != nullptr ? value : domain->getDefaultValue(), AlxMessageCode::fromRebuild, false, true);
        }
    }

    std::unique_ptr<juce::XmlElement> createExtensionXml (bool programOnly, int) const override
    {
        return programOnly ? nullptr : deviceManager->createXml();
    }

    void restoreExtensionXml (const juce::XmlElement& element, bool programOnly, int, bool) override
    {
        if (programOnly)
            return;

        deviceManager->restoreXml (element.getFirstChildElement());
        rebuildDeviceValues();
    }

protected:
    AlxMidiGroupModule (AlxModuleContainer* container_, int id_) : AlxModule (container_, id_) {}

    AlxModule* childAt (int index) const
    {
        const auto& children = getChildren();
        return juce::isPositiveAndBelow (index, children.size()) ? children[(size_t) index].get() : nullptr;
    }

    // The group's initialise: the domain set and the device manager exist before the child, whose
    // parameters and collector need them.
    void initialiseGroup (std::unique_ptr<AlxModule> child)
    {
        AlxModule::initialise();
        registerInModuleMap();
        domainSet = std::make_unique<DomainSet>();
        deviceManager = std::make_unique<DeviceManager>();
        addChild (std::move (child))->initialise();
        setCurrentProgram (0);
        addSinkRecursive (this, false);
    }

private:
    std::unique_ptr<DomainSet> domainSet;
    std::unique_ptr<DeviceManager> deviceManager;
};
