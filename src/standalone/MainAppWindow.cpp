#include "standalone/MainAppWindow.h"

MainAppWindow::MainAppWindow (std::unique_ptr<juce::PropertySet> settingsToOwn)
    : StandaloneFilterWindow (juce::JUCEApplication::getInstance()->getApplicationName(),
                              juce::Colour (0xffd3d3d3), std::move (settingsToOwn))
{
    setUsingNativeTitleBar (true);
    setMenuBar (this, 20);
    setVisible (true);
    centreWithSize (695, 520);
}

MainAppWindow::~MainAppWindow()
{
    setMenuBar (nullptr);
}

void MainAppWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
