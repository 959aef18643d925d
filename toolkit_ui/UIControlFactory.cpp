#include "UIControlFactory.h"

#include "toolkit_ui/OskvColours.h"

namespace oskv
{
juce::Label* UIControlFactory::createRegularLabel (const juce::String& text)
{
    auto* label = new juce::Label();
    label->setColour (juce::Label::textColourId, OskvColours::light_grey);
    label->setColour (juce::Label::backgroundColourId, OskvColours::dark_grey.withAlpha ((juce::uint8) 0));
    label->setEditable (false, false, false);
    label->setJustificationType (juce::Justification::centred);
    label->setText (text, juce::dontSendNotification);
    // Only the height matters: the look-and-feel supplies the typeface.
    label->setFont (juce::Font (10.0f, juce::Font::plain));
    return label;
}

juce::TextButton* UIControlFactory::createPushButton (const juce::String& text, const juce::Colour& colour)
{
    auto* button = new juce::TextButton();
    button->setColour (juce::TextButton::buttonColourId, OskvColours::dark_grey);
    button->setColour (juce::TextButton::buttonOnColourId, OskvColours::dark_grey);
    button->setColour (juce::TextButton::textColourOnId, colour);
    button->setColour (juce::TextButton::textColourOffId, OskvColours::light_grey);
    button->setWantsKeyboardFocus (false);
    button->setButtonText (text);
    return button;
}

juce::DrawableButton* UIControlFactory::createIconButton (const juce::Drawable* normal, const juce::Drawable* down)
{
    auto* button = new juce::DrawableButton ({}, juce::DrawableButton::ImageFitted);
    // The button copies the drawables; `down` stands for pressed and for toggled on.
    button->setImages (normal, nullptr, down, nullptr, down, nullptr, down, nullptr);
    button->setEdgeIndent (0);
    button->setWantsKeyboardFocus (false);
    button->setClickingTogglesState (true);
    return button;
}

OskvKnob* UIControlFactory::createRegularKnob (const juce::Colour& colour)
{
    auto* knob = new OskvKnob();
    // Two vector images per paint are costly; redraw only when the knob changes.
    knob->setBufferedToImage (true);
    knob->setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob->setRange (0.0, 1.0, 0.001);
    knob->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    knob->setColour (juce::Slider::backgroundColourId, OskvColours::dark_grey.withAlpha ((juce::uint8) 0));
    knob->setColour (juce::Slider::rotarySliderFillColourId, colour);
    knob->setWantsKeyboardFocus (false);
    return knob;
}
} // namespace oskv
