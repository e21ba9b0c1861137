#include "editor/AlxMidiDeviceListBox.h"

AlxMidiDeviceListBox::AlxMidiDeviceListBox (const juce::String& name, const juce::StringArray& available,
                                            const juce::StringArray& enabled, const juce::String& emptyMessage)
    : juce::ListBox (name, nullptr), items (available), emptyText (emptyMessage)
{
    for (auto& deviceName : enabled)
        items.addIfNotAlreadyThere (deviceName);

    setModel (this);
    setOutlineThickness (1);
    setRowHeight (rowHeight);
}

void AlxMidiDeviceListBox::paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool rowIsSelected)
{
    if (! juce::isPositiveAndBelow (row, items.size()))
        return;

    auto& look = getLookAndFeel();
    const auto textColour = juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ComboBox::textColourId);

    if (rowIsSelected)
        g.fillAll (textColour.withMultipliedAlpha (0.4f));

    const bool enabled = isDeviceEnabled (items[row]);
    const int tickWidth = height - height / 4;
    look.drawTickBox (g, *this, (float) (tickRight - tickWidth), (float) ((height - tickWidth) / 2),
                             (float) tickWidth, (float) tickWidth, enabled, true, true, false);

    g.setFont (look.getPopupMenuFont());
    g.setColour (textColour.withAlpha (enabled ? 1.0f : 0.6f));
    g.drawFittedText (items[row], tickRight, 0, width - tickRight - 2, height, juce::Justification::centredLeft, 1);
}

void AlxMidiDeviceListBox::listBoxItemClicked (int row, const juce::MouseEvent& event)
{
    selectRow (row);

    if (event.x < tickRight)
        flip (row);
}

void AlxMidiDeviceListBox::listBoxItemDoubleClicked (int row, const juce::MouseEvent&)
{
    flip (row);
}

void AlxMidiDeviceListBox::flip (int row)
{
    // The manager answers with a change message, after which the lists show the real state (a
    // device that fails to open stays unticked).
    if (juce::isPositiveAndBelow (row, items.size()))
        setDeviceEnabled (items[row], ! isDeviceEnabled (items[row]));
}

void AlxMidiDeviceListBox::paintOverChildren (juce::Graphics& g)
{
    // Over the rows' viewport, which is opaque and would hide anything the list paints itself.
    juce::ListBox::paintOverChildren (g);

    if (! items.isEmpty())
        return;

    g.setColour (juce::Colour (0xff808080));
    g.setFont (getLookAndFeel().getPopupMenuFont());
    g.drawText (emptyText, 0, 0, getWidth(), getHeight() / 2, juce::Justification::centred, true);
}
