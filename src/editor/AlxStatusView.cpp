#include "editor/AlxStatusView.h"

#include "core/AlxProgramModule.h"
#include "framework/AlxMessageCode.h"
#include "framework/AlxModuleContainer.h"
#include "modules/AlxTransportModule.h"
#include "modules/AlxTriggerModule.h"

AlxStatusView::AlxStatusView (AlxEditor* owner, int width, int height)
    : AlxPanel (owner, "Status", width, height, false)
{
    // Opaque, in the colour of a combo box's field, unlike the translucent panels around it.
    setPanelColour (getLookAndFeel().findColour (juce::ComboBox::backgroundColourId));

    if (auto* transport = getTransport())
    {
        transportEvents = transport->getStateParameter();
        transportEvents->addSink (this);
    }

    if (auto* container = getModuleContainer())
        if (auto* programs = container->getProgramModule())
        {
            programModule = programs;
            programParameter = programs->getProgramParameter();
            programModule->addSinkRecursive (this, false);
        }
}

AlxStatusView::~AlxStatusView()
{
    if (observedModule != nullptr)
        observedModule->removeSinkRecursive (this, false);
    if (programModule != nullptr)
        programModule->removeSinkRecursive (this, false);
    if (transportEvents != nullptr)
        transportEvents->removeSink (this);
}

void AlxStatusView::observeModule (AlxModule* module)
{
    jassert (observedModule == nullptr);
    observedModule = module;
    if (observedModule != nullptr)
        observedModule->addSinkRecursive (this, false);
}

bool AlxStatusView::handlePanelMessage (void* source, int code, std::uint32_t)
{
    bool shown = false;

    if (source != nullptr && source == transportEvents)
    {
        // A new bar or beat, notes fired, or the periodic tick (whoever posted it).
        const int kind = AlxMessageCode::kindOf (code);
        shown = kind == AlxMessageCode::kindOf (AlxTransportModule::barChanged)
             || kind == AlxMessageCode::kindOf (AlxTransportModule::beatChanged)
             || kind == AlxMessageCode::kindOf (AlxTransportModule::notesTriggered)
             || kind == AlxMessageCode::kindOf (AlxTransportModule::tick);
    }
    else if (source != nullptr && source == programParameter)
    {
        shown = true;
    }

    if (shown)
        refresh (false);
    return shown;
}

bool AlxStatusView::refreshOnEveryMessage (void* source, int code, std::uint32_t timeMs)
{
    if (! AlxStatusView::handlePanelMessage (source, code, timeMs))
        refresh (false);
    return true;
}

bool AlxStatusView::findLastFiring (double& time) const
{
    auto* trigger = getTriggerModule();
    if (trigger == nullptr)
        return false;
    time = trigger->getLastTriggerTime();
    return true;
}

AlxTransportModule* AlxStatusView::getTransport() const
{
    return findModuleOf<AlxTransportModule>();
}

AlxTriggerModule* AlxStatusView::getTriggerModule() const
{
    return findModuleOf<AlxTriggerModule>();
}

juce::Colour AlxStatusView::getTextColour() const
{
    return getLookAndFeel().findColour (juce::ComboBox::textColourId);
}

void AlxStatusView::paintFields (juce::Graphics& g, std::initializer_list<Field> fields)
{
    AlxPanel::paint (g);
    g.setFont (getLookAndFeel().getPopupMenuFont());
    const auto text = getTextColour();
    const auto dim = getDimColour();
    constexpr int lineHeight = 20;
    constexpr float minimumScale = 0.7f;

    for (const auto& field : fields)
    {
        g.setColour (dim);
        g.drawFittedText (field.label, field.labelX, 0, field.labelWidth, lineHeight, juce::Justification::centredLeft, 1, minimumScale);
        if (field.value == nullptr)
            continue;
        g.setColour (text);
        g.drawFittedText (field.value->getText(), field.valueX, 0, field.valueWidth, lineHeight, juce::Justification::centredLeft, 1, minimumScale);
    }
}
