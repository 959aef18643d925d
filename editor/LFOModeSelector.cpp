#include "LFOModeSelector.h"

#include "toolkit_ui/OskvColours.h"
#include "toolkit_ui/UIControlFactory.h"

namespace
{
bool isOn (const oskv::ParameterLink& link)
{
    return link.parameter != nullptr && link.parameter->getValue() > 0.5f;
}
} // namespace

LFOModeSelector::LFOModeSelector (juce::AudioProcessorParameter* syncParameter, const juce::NormalisableRange<float>& syncRange,
                                  juce::AudioProcessorParameter* highRateModeParameter,
                                  const juce::NormalisableRange<float>& highRateModeRange,
                                  juce::LookAndFeel& buttonLook)
    : syncLink (syncParameter, syncRange),
      highRateModeLink (highRateModeParameter, highRateModeRange)
{
    for (const auto* text : { "FREE", "SYNC", "OSC" })
    {
        auto* label = labels.add (oskv::UIControlFactory::createRegularLabel (text));
        label->setColour (juce::Label::textColourId, oskv::OskvColours::dark_grey);
        label->setFont (juce::Font (12.0f, juce::Font::plain));
        addAndMakeVisible (label);

        // Invisible, over the label: the label shows, the button takes the click.
        auto* button = buttons.add (new juce::TextButton());
        button->setLookAndFeel (&buttonLook);
        button->setAlpha (0.0f);
        addAndMakeVisible (button);
        button->addListener (this);
    }

    mode = modeFromParameters();
    colourLabelsForMode();
}

int LFOModeSelector::modeFromParameters() const
{
    return isOn (highRateModeLink) ? oscMode : (isOn (syncLink) ? syncMode : freeMode);
}

LFOModeSelector::~LFOModeSelector() = default;

void LFOModeSelector::paint (juce::Graphics& g)
{
    const auto rowsBottom = juce::jmax (0, 3 * (getHeight() / 3));
    const auto yellow = oskv::OskvColours::yellow;

    g.setColour (yellow.withAlpha ((juce::uint8) 0x33));
    g.fillRect (0, 0, getWidth(), rowsBottom);

    g.setColour (yellow);
    g.fillRect (getWidth() - stripWidth, 0, stripWidth, rowsBottom);
}

void LFOModeSelector::resized()
{
    const auto rowHeight = getHeight() / 3;
    const auto rowWidth = juce::jmax (0, getWidth() - stripWidth);

    for (int i = 0; i < labels.size(); ++i)
    {
        const juce::Rectangle<int> row (0, i * rowHeight, rowWidth, rowHeight);
        labels[i]->setBounds (row);

        if (auto* button = buttons[i])
            button->setBounds (row);
    }
}

void LFOModeSelector::buttonClicked (juce::Button* button)
{
    for (int i = 0; i < buttons.size(); ++i)
    {
        if (buttons[i] != button)
            continue;

        mode = i;
        colourLabelsForMode();

        // Each switch goes to the host as its own gesture (none in Ableton Live).
        if (i == freeMode)
        {
            syncLink.updateIntParameter (0);
            highRateModeLink.updateIntParameter (0);
        }
        else if (i == syncMode)
        {
            syncLink.updateIntParameter (1);
            highRateModeLink.updateIntParameter (0);
        }
        else
        {
            // Sync keeps its value; the high rate wins while it is on.
            highRateModeLink.updateIntParameter (1);
        }
    }
}

void LFOModeSelector::colourLabelsForMode()
{
    for (int i = 0; i < labels.size(); ++i)
        labels[i]->setColour (juce::Label::textColourId,
                              i == mode ? oskv::OskvColours::yellow : oskv::OskvColours::dark_grey);
}
