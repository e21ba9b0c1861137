#include "editor/AlxParamPanel.h"

#include "editor/AlxParamCombo.h"
#include "editor/AlxParamRadio.h"
#include "editor/AlxParamRotary.h"
#include "editor/AlxParamToggle.h"

AlxParamPanel::AlxParamPanel (AlxEditor* owner, const juce::String& panelTitle, int width,
                              std::unique_ptr<juce::Drawable> panelIcon)
    : AlxPanel (owner, panelTitle, width, 0, false),
      ownIcon (std::move (panelIcon))
{
    setIcon (ownIcon.get());
}

AlxParamPanel::~AlxParamPanel()
{
    setIcon (nullptr);
}

void AlxParamPanel::addChild (AlxPanel* child)
{
    children.push_back (child);
    if (child != nullptr)
        addAndMakeVisible (child);
}

int AlxParamPanel::layoutChildren (int width, bool measureOnly)
{
    if (children.empty())
        return 20;

    int x = rowStart, y = 0, lastHeight = 0;
    AlxPanel* previous = nullptr;
    for (auto* child : children)
    {
        if (child == nullptr)
            continue;
        const int w = child->getPreferredWidth();
        const int h = child->getPreferredHeight();
        if (previous == nullptr)
        {
            x = child->getIndent() + rowStart;
            y = child->getSpacing();
        }
        else if (x + w > width || previous->hasRowBreak())
        {
            // A row is as high as the child that ended it: children of a row share one height.
            x = child->getIndent() + rowStart;
            y += previous->getPreferredHeight() + previous->getSpacing() + child->getSpacing();
        }
        if (! measureOnly)
            child->setBounds (x, y, w, h);
        x += w + child->getSpacing();
        previous = child;
        lastHeight = h;
    }
    return y + 10 + lastHeight;
}

int AlxParamPanel::getPreferredHeight()
{
    return layoutChildren (getPreferredWidth(), true);
}

void AlxParamPanel::resized()
{
    AlxPanel::resized();
    layoutChildren (getWidth(), false);
}

AlxParamControl* AlxParamPanel::addParameter (AlxParameter* parameter, int labelWidth, int fieldWidth)
{
    if (parameter == nullptr)
        return nullptr;

    AlxParamControl* control = nullptr;
    switch (parameter->getDomain()->getControlKind())
    {
        case AlxControlKind::list:
            control = new AlxParamCombo (getEditor(), labelWidth, fieldWidth);
            break;
        case AlxControlKind::range:
            control = new AlxParamRotary (getEditor());
            break;
        case AlxControlKind::radio:
            control = new AlxParamRadio (getEditor());
            break;
        case AlxControlKind::onOff:
            control = new AlxParamToggle (getEditor(), labelWidth);
            break;
        case AlxControlKind::numeric:
        default:
            return nullptr;
    }
    control->setParameter (parameter);
    addChild (control);
    return control;
}

void AlxParamPanel::rebindParameter (AlxParameter* parameter, int index)
{
    if (index < 0 || index >= (int) children.size())
        return;
    if (auto* control = dynamic_cast<AlxParamControl*> (children[(size_t) index]))
        control->setParameter (parameter);
}
