#pragma once

#include "framework/AlxCable.h"

#include <vector>

// A module's port: the cables connected to it (not owned, in connection order) and whether it is
// an input, an output, or both. Modules read and write the object of the first cable.
class AlxPinBase
{
public:
    // marks: low byte = input, high byte = output (1 makes an input pin, 256 an output pin).
    explicit AlxPinBase (int marks) : input ((marks & 0xff) != 0), output (((marks >> 8) & 0xff) != 0) {}
    virtual ~AlxPinBase() = default;

    virtual void connect (AlxCableBase* cable) { cables.push_back (cable); }
    virtual void disconnect (AlxCableBase* cable);
    virtual const std::vector<AlxCableBase*>& getCables() const { return cables; }
    virtual bool isInput() const { return input; }
    virtual void setInput (bool i) { input = i; }
    virtual bool isOutput() const { return output; }
    virtual void setOutput (bool o) { output = o; }
    virtual void clearCables();

    static constexpr int inputMark = 1;
    static constexpr int outputMark = 256;

private:
    std::vector<AlxCableBase*> cables;
    bool input, output;

    JUCE_DECLARE_NON_COPYABLE (AlxPinBase)
};

template <typename CableType>
class AlxPin : public AlxPinBase
{
public:
    using AlxPinBase::AlxPinBase;

    CableType* getFirstCable() const
    {
        const auto& all = getCables();
        return all.empty() ? nullptr : static_cast<CableType*> (all.front());
    }

    // The first cable's object, or null when nothing is connected.
    auto* getObject() const
    {
        auto* cable = getFirstCable();
        return cable != nullptr ? cable->getObject() : nullptr;
    }

    // Only cables of the pin's type connect, so getFirstCable can rely on the type.
    void connect (AlxCableBase* cable) override
    {
        if (dynamic_cast<CableType*> (cable) != nullptr)
            AlxPinBase::connect (cable);
        else
            jassertfalse;
    }
};
