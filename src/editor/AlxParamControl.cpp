#include "editor/AlxParamControl.h"

#include "AlxEmbeddedData.h"
#include "editor/AlxDrawableButton.h"
#include "editor/AlxDrawableLoader.h"
#include "framework/AlxMessageCode.h"

AlxParamControl::AlxParamControl (AlxEditor* owner)
    : AlxPanel (owner, {}, 200, 43, false)
{
}

AlxParamControl::~AlxParamControl()
{
    setParameter (nullptr);
}

void AlxParamControl::setParameter (AlxParameter* newParameter)
{
    auto* oldParameter = parameter;
    auto* oldSource = modulationSource;
    parameter = newParameter;
    modulationSource = nullptr;

    bool sameDomain = false;
    if (oldParameter != nullptr)
    {
        const juce::ScopedLock sl (oldParameter->getLock());
        oldParameter->removeSink (this);
        sameDomain = newParameter != nullptr && newParameter->getDomain() == oldParameter->getDomain();
    }
    if (oldSource != nullptr)
        oldSource->removeSink (this);

    if (newParameter != nullptr)
    {
        const juce::ScopedLock sl (newParameter->getLock());
        if (! sameDomain)
            refreshItems (false);
        refreshValue();
        refreshFocused();
        newParameter->addSink (this);
        modulationSource = newParameter->getModulationSource();
        if (modulationSource != nullptr)
            modulationSource->addSink (this);
    }
    parameterAttached();
}

void AlxParamControl::followModulationSource()
{
    const juce::ScopedLock sl (parameter->getLock());
    auto* current = parameter->getModulationSource();
    if (current == modulationSource)
        return;
    if (modulationSource != nullptr)
        modulationSource->removeSink (this);
    modulationSource = current;
    if (modulationSource != nullptr)
        modulationSource->addSink (this);
}

void AlxParamControl::handleMessage (void* source, int code, std::uint32_t)
{
    if (parameter == nullptr)
        return;

    const int kind = AlxMessageCode::kindOf (code);
    if (source == parameter)
    {
        switch (kind)
        {
            case AlxMessageCode::valueChanged:
                followModulationSource();
                refreshValue();
                break;
            case AlxMessageCode::enabledChanged:
                refreshValue();
                break;
            case AlxMessageCode::textsChanged:
                refreshItems (true);
                refreshValue();
                break;
            case AlxMessageCode::deviceValuesRebuilt:
                refreshItems (false);
                refreshValue();
                break;
            case AlxMessageCode::focusChanged:
                refreshFocused();
                break;
            default:
                break;
        }
    }
    else if (source == modulationSource && kind == AlxMessageCode::valueChanged)
    {
        refreshValue();
    }
}

juce::String AlxParamControl::overflowLine (const juce::String& controlClass)
{
    return controlClass + " parameter index overflow - change message too old?";
}

std::unique_ptr<juce::Drawable> AlxParamControl::loadIcon (const juce::String& entryName)
{
    return loadDrawableFromZip (AlxEmbeddedData::iconZip, AlxEmbeddedData::iconZipSize, entryName);
}

AlxDrawableButton* AlxParamControl::addIconButton (const juce::String& name, const juce::Drawable* image, bool togglesOnClick,
                                                   const juce::String& tooltip, juce::Button::Listener* listener)
{
    auto* button = new AlxDrawableButton (name);
    if (image != nullptr)
        button->setImages (image);
    button->setClickingTogglesState (togglesOnClick);
    button->setTooltip (tooltip);
    button->setConnectedEdges (allEdgesConnected);
    button->addListener (listener);
    addAndMakeVisible (button);
    return button;
}

void AlxParamControl::writeBack (AlxValue* value)
{
    if (parameter == nullptr || value == nullptr)
        return;
    const juce::ScopedLock sl (parameter->getLock());
    parameter->setValue (value, AlxMessageCode::fromEditor, false, true);
    refreshValue();
}

void AlxParamControl::writePosition (int position, const juce::String& controlClass)
{
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl (parameter->getLock());
    const auto& values = parameter->getDomain()->getValues();
    if (position < 0 || position >= (int) values.size())
    {
        juce::Logger::outputDebugString (overflowLine (controlClass));
        return;
    }
    writeBack (values[(size_t) position].get());
}

void AlxParamControl::setWheelAssigned (bool assigned)
{
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl (parameter->getLock());
    parameter->setFocused (assigned);
}

AlxDrawableButton* AlxParamControl::addWheelButton (const juce::Drawable* image, juce::Button::Listener* listener)
{
    return addIconButton ("wheelButton", image, true, "Assign this parameter to the mouse wheel", listener);
}

AlxDrawableButton* AlxParamControl::addModulationButton (const juce::Drawable* image, const juce::String& tooltip,
                                                         juce::Button::Listener* listener)
{
    return addIconButton ("modulationButton", image, false, tooltip, listener);
}

bool AlxParamControl::handleWheelOrModulationClick (juce::Button* clicked, juce::Button& wheelButton,
                                                    juce::Button& modulationButton)
{
    if (clicked == &wheelButton)
        setWheelAssigned (wheelButton.getToggleState());
    else if (clicked == &modulationButton)
        chooseModulationSource (modulationButton);
    else
        return false;
    return true;
}

void AlxParamControl::showWheelAssignment (juce::Button& wheelButton) const
{
    bool assigned = false;
    if (parameter != nullptr)
    {
        const juce::ScopedLock sl (parameter->getLock());
        assigned = parameter->isFocused();
    }
    wheelButton.setToggleState (assigned, juce::dontSendNotification);
}

bool AlxParamControl::showModulation (juce::Button& modulationButton) const
{
    const bool modulated = isModulated();
    modulationButton.setToggleState (modulated, juce::dontSendNotification);
    return modulated;
}

bool AlxParamControl::isModulated() const
{
    if (parameter == nullptr || modulationSource == nullptr)
        return false;
    const juce::ScopedLock sl (parameter->getLock());
    const juce::ScopedLock sourceLock (modulationSource->getLock());
    return modulationSource->getValueIndex() != 0;
}

void AlxParamControl::chooseModulationSource (juce::Component& button)
{
    if (parameter == nullptr || modulationSource == nullptr)
        return;

    juce::PopupMenu menu;
    {
        const juce::ScopedLock sl (modulationSource->getLock());
        const int current = modulationSource->getValueIndex();
        const auto& values = modulationSource->getDomain()->getValues();
        for (int i = 0; i < (int) values.size(); ++i)
            menu.addItem (i + 1, values[(size_t) i]->getShortText(), true, i == current);
    }

    // The menu runs a modal loop: messages delivered meanwhile may rebind or even delete this
    // control, so the choice applies to the source bound when the menu closes, and only to a
    // position that source has.
    const juce::Component::SafePointer<AlxParamControl> self (this);
    const int chosen = showMenu (menu, button);
    if (self == nullptr || chosen <= 0 || modulationSource == nullptr)
        return;

    {
        const juce::ScopedLock sl (modulationSource->getLock());
        const auto& values = modulationSource->getDomain()->getValues();
        if (chosen - 1 >= (int) values.size())
            return;
        modulationSource->setValue (values[(size_t) (chosen - 1)].get(), AlxMessageCode::fromEditor, false, true);
    }
    refreshValue();
}
