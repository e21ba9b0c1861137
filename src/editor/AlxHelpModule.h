#pragma once

#include "framework/AlxModule.h"

class AlxHelpPanel;

// Carries the help area's state (keys "helpCurrentPage" and "helpExpanded" of its property set,
// saved with the document) and turns help commands posted on its event parameter into actions of
// the help panel while an editor has one attached. Commands that arrive while no panel is
// attached (the editor was closed between posting and delivery) are dropped.
class AlxHelpModule : public AlxModule
{
public:
    static constexpr int moduleId = 9000;

    // Command kinds, posted with reason 6.
    enum Command
    {
        showAbout = 11,
        showHelp = 12,
        openHome = 19,
        openManual = 20,
        openUpdates = 21
    };

    explicit AlxHelpModule (AlxModuleContainer* container);

    void initialise() override;
    bool handleModuleMessage (void* source, int code, std::uint32_t timeMs) override;

    virtual void setHelpPanel (AlxHelpPanel* panel) { helpPanel = panel; }
    virtual bool opensDialog() const { return dialog; }
    virtual void setOpensDialog (bool shouldOpenDialog) { dialog = shouldOpenDialog; }
    virtual bool showsOnlineGuide() const { return onlineGuide; }
    virtual void setShowsOnlineGuide (bool shouldShow) { onlineGuide = shouldShow; }

    AlxHelpPanel* getHelpPanel() const { return helpPanel; }

private:
    AlxHelpPanel* helpPanel = nullptr;
    bool dialog = false;
    bool onlineGuide = false;
};
