#include "core/AlxPlimsarFilter.h"
#include "core/AlxPlimsarModule.h"
#include "editor/AlxArpView.h"
#include "editor/AlxEditor.h"
#include "editor/AlxGrooveView.h"
#include "editor/AlxLFOView.h"
#include "editor/AlxTriggerView.h"
#include "framework/AlxMessageCode.h"
#include "modules/AlxTriggerModule.h"
#include "support/AlxMessageLoop.h"

#include <benchmark/benchmark.h>

namespace
{
    // What the message thread spends on the status views for one message (a firing, a bar, a
    // beat or the 500 ms tick): the LFO view scans the trigger's grid over a whole bar and samples
    // the LFO's curve, the text views read two or three modulated settings each. Argument: the
    // trigger's step index (8 = 1/16, 12 = 1/64); the grid scan costs the same for every step.
    void BM_refreshStatusViews (benchmark::State& state)
    {
        AlxPlimsarFilter processor;
        processor.initialise();
        AlxMessageLoop::deliverPending();
        auto& root = static_cast<AlxPlimsarModule&> (*processor.getRootModule());
        auto* step = root.getTriggerModule()->getStepParameter();
        step->setValue (step->getDomain()->getValues()[(size_t) state.range (0)].get(), AlxMessageCode::fromEditor, false, true);
        AlxMessageLoop::deliverPending();

        AlxEditor editor (processor);
        AlxLFOView lfoView (&editor);
        AlxTriggerView triggerView (&editor);
        AlxGrooveView grooveView (&editor);
        AlxArpView arpView (&editor);

        for (auto _ : state)
            for (AlxStatusView* view : { (AlxStatusView*) &lfoView, (AlxStatusView*) &triggerView,
                                         (AlxStatusView*) &grooveView, (AlxStatusView*) &arpView })
                view->refresh (false);

        benchmark::DoNotOptimize (lfoView.getCurve().data());
    }

    // Drawing the LFO view once, as a repaint after a refresh does.
    void BM_paintLfoView (benchmark::State& state)
    {
        AlxPlimsarFilter processor;
        processor.initialise();
        AlxMessageLoop::deliverPending();
        AlxEditor editor (processor);
        AlxLFOView view (&editor);
        view.setSize (view.getPreferredWidth(), view.getPreferredHeight());
        juce::Image image (juce::Image::ARGB, view.getWidth(), view.getHeight(), true);

        for (auto _ : state)
        {
            juce::Graphics g (image);
            view.paint (g);
        }
    }
}

BENCHMARK (BM_refreshStatusViews)->Arg (8)->Arg (12)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_paintLfoView)->Unit (benchmark::kMicrosecond);
