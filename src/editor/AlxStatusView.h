#pragma once

#include "editor/AlxPanel.h"

#include <initializer_list>

class AlxParameter;
class AlxTransportModule;
class AlxTriggerModule;
class AlxValue;

// The live display at the top of a note-generation panel: what the module is doing now. A view
// never changes anything; it re-reads its module and repaints when a message reaches it. It
// listens to the transport's event parameter (bar, beat, firings and the 500 ms tick) and to the
// program choice, and each subclass to its own module.
//
// Message thread only. The view registers with parameters of modules that outlive the editor and
// unregisters in its destructor; messages still queued for it after that find no sink.
class AlxStatusView : public AlxPanel
{
public:
    // The editor must reach a processor whose tree holds the transport and program modules.
    AlxStatusView (AlxEditor* editor, int preferredWidth, int preferredHeight);
    ~AlxStatusView() override;

    // True, after a refresh, for the transport's bar, beat, firing and tick events and for a
    // program change; false for anything else.
    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    // Re-reads what the view shows and repaints; with skip nothing happens.
    virtual void refresh (bool skip) = 0;

protected:
    // What every subclass does with a message: refresh, whatever it says.
    bool refreshOnEveryMessage (void* source, int code, std::uint32_t timeMs);
    // Grooved time of the trigger's last firing (0 before the first); false without a trigger.
    bool findLastFiring (double& time) const;
    AlxTransportModule* getTransport() const;
    AlxTriggerModule* getTriggerModule() const;
    // Adds the view's sink to a module (and its children) for the rest of the view's life.
    void observeModule (AlxModule* module);

    // A label and the text of a value beside it, in one line of 20 pixels at the top.
    struct Field
    {
        const char* label;
        int labelX, labelWidth;
        const AlxValue* value;
        int valueX, valueWidth;
    };
    // The background, then each label dimmed and each value (null ones skipped) in full colour.
    void paintFields (juce::Graphics& g, std::initializer_list<Field> fields);
    // The combo-box text colour of the look and feel, which the views draw in.
    juce::Colour getTextColour() const;
    juce::Colour getDimColour() const { return getTextColour().darker (0.5f); }

private:
    AlxParameter* transportEvents = nullptr;
    AlxParameter* programParameter = nullptr;
    AlxModule* programModule = nullptr;
    AlxModule* observedModule = nullptr;
};
