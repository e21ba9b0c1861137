#pragma once

#include "editor/AlxStatusView.h"

// The status views that print values: one line of labelled values of their module, those in
// force at the trigger's last firing, LFO modulation applied. Empty until the first message
// reaches them. The trigger, groove and arp views differ only in the values they read and where
// they print them.
class AlxTextStatusView : public AlxStatusView
{
public:
    explicit AlxTextStatusView (AlxEditor* editor);

    // Refreshes on every message delivered, whatever it says; always true.
    bool handlePanelMessage (void* source, int code, std::uint32_t timeMs) override;
    // Reads the values at the trigger's last firing and repaints. Nothing happens with skip, or
    // while the trigger or the view's module is missing.
    void refresh (bool skip) override;

protected:
    // Stores the module's values at that grooved time; false, storing nothing, without the module.
    virtual bool readValuesAt (double time) = 0;
};
