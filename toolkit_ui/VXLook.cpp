#include "VXLook.h"
#include "VXLookPalette.h"

#include <SombraxBinaryData.h>

#include <cmath>

namespace oskv
{
using namespace vxlook;

//==============================================================================
VXLook::VXLook()
{
    uiScale = 1.0f;
    uiScaleSource = &uiScale;

    typeface = juce::Typeface::createSystemTypefaceFor (SombraxBinaryData::RobotoMedium_ttf,
                                                        (size_t) SombraxBinaryData::RobotoMedium_ttfSize);

    setColour (juce::PopupMenu::textColourId, juce::Colour (lightGreyArgb));
    setColour (juce::PopupMenu::highlightedBackgroundColourId, juce::Colour (lightGreyArgb));
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colour (darkGreyArgb));
    setColour (juce::TooltipWindow::backgroundColourId, juce::Colour (lightGreyArgb));
    setColour (juce::TooltipWindow::textColourId, juce::Colour (darkGreyArgb));
    setColour (juce::TooltipWindow::outlineColourId, juce::Colours::black);
    setColour (juce::ComboBox::backgroundColourId, juce::Colour (darkGreyArgb));
    setColour (juce::ComboBox::textColourId, juce::Colour (lightGreyArgb));
    setColour (juce::ComboBox::outlineColourId, juce::Colour (greyArgb));
    setColour (juce::ComboBox::arrowColourId, juce::Colour (lightGreyArgb));
    setColour (juce::ListBox::backgroundColourId, juce::Colour (darkGreyArgb));
    setColour (juce::DirectoryContentsDisplayComponent::textColourId, juce::Colour (lightGreyArgb));
    setColour (juce::DirectoryContentsDisplayComponent::highlightColourId, juce::Colour (blueArgb));
    setColour (juce::TreeView::backgroundColourId, juce::Colour (darkGreyArgb));
    setColour (juce::TreeView::linesColourId, juce::Colour (lightGreyArgb));
    setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentWhite);
    setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentWhite);

    knobBack = juce::Drawable::createFromImageData (SombraxBinaryData::knob_back_svg,
                                                    (size_t) SombraxBinaryData::knob_back_svgSize);
    knobFront = juce::Drawable::createFromImageData (SombraxBinaryData::knob_front_svg,
                                                     (size_t) SombraxBinaryData::knob_front_svgSize);
}

VXLook::~VXLook()
{
    knobFront.reset();
    knobBack.reset();
    typeface = nullptr;
}

float VXLook::getScale() const
{
    return uiScaleSource != nullptr ? *uiScaleSource : 1.0f;
}

float VXLook::getValueProportion (juce::Slider& slider)
{
    // A broken range reads as the start rather than spreading NaN through the drawing.
    const auto p = (float) slider.valueToProportionOfLength (slider.getValue());
    return std::isfinite (p) ? juce::jlimit (0.0f, 1.0f, p) : 0.0f;
}

//==============================================================================
juce::Typeface::Ptr VXLook::getTypefaceForFont (const juce::Font& font)
{
    if (typeface != nullptr)
        return typeface;

    return juce::LookAndFeel_V2::getTypefaceForFont (font);
}

//==============================================================================
VXLook::KnobGeometry VXLook::getKnobGeometry (int x, int y, int width, int height, float sliderPos,
                                              float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    KnobGeometry knob;
    knob.radius = (float) juce::jmin (width / 2, height / 2) - 2.0f;
    knob.centreX = (float) x + (float) width * 0.5f;
    knob.centreY = (float) y + (float) height * 0.5f;
    knob.box = { knob.centreX - knob.radius, knob.centreY - knob.radius, 2.0f * knob.radius, 2.0f * knob.radius };
    knob.angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);

    // The alpha is replaced, not multiplied: a translucent fill colour still draws solid.
    knob.baseColour = slider.findColour (juce::Slider::rotarySliderFillColourId)
                          .withAlpha ((juce::uint8) (slider.isEnabled() ? 0xff : 0x7f));
    const auto arcAlpha = juce::jmin (255, juce::roundToInt ((float) knob.baseColour.getAlpha() * 0.8f));
    knob.arcColour = knob.baseColour.withAlpha ((juce::uint8) arcAlpha);
    return knob;
}

void VXLook::drawKnobBody (juce::Graphics& g, const KnobGeometry& knob) const
{
    if (knobBack != nullptr)
        knobBack->drawWithin (g, knob.box, juce::RectanglePlacement::fillDestination, 1.0f);
}

void VXLook::fillKnobArc (juce::Graphics& g, const KnobGeometry& knob, float fromAngle, float toAngle)
{
    if (fromAngle == toAngle)
        return;

    juce::Path arc;
    arc.addPieSegment (knob.box.reduced (knob.radius * (1.0f - 0.9f)), fromAngle, toAngle, 0.0f);
    g.setColour (knob.arcColour);
    g.fillPath (arc);
}

void VXLook::drawKnobCapAndPointer (juce::Graphics& g, const KnobGeometry& knob) const
{
    if (knobFront != nullptr)
        knobFront->drawWithin (g, knob.box.reduced (knob.radius * 0.25f), juce::RectanglePlacement::fillDestination, 1.0f);

    const auto r = knob.radius;
    juce::Path pointer;
    pointer.addLineSegment (juce::Line<float> (0.0f, -0.2f * r, 0.0f, -0.45f * r), 2.0f * r * 0.05f);
    g.setColour (knob.baseColour);
    g.fillPath (pointer, juce::AffineTransform::rotation (knob.angle).translated (knob.centreX, knob.centreY));
}

void VXLook::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                               float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                               juce::Slider& slider)
{
    const auto knob = getKnobGeometry (x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle, slider);

    // Too small to hold a knob at all.
    if (! (knob.radius > 0.0f))
        return;

    drawKnobBody (g, knob);
    fillKnobArc (g, knob, rotaryStartAngle, knob.angle);
    drawKnobCapAndPointer (g, knob);
}

//==============================================================================
void VXLook::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                               float sliderPos, float minSliderPos, float maxSliderPos,
                               juce::Slider::SliderStyle style, juce::Slider& slider)
{
    g.fillAll (slider.findColour (juce::Slider::backgroundColourId));

    if (style == juce::Slider::LinearBar || style == juce::Slider::LinearBarVertical)
    {
        // Hover and drag leave the bar alone: only the enabled state changes its colour.
        const auto colour = slider.findColour (juce::Slider::thumbColourId)
                                .withMultipliedSaturation (slider.isEnabled() ? 1.0f : 0.5f)
                                .withMultipliedSaturation (0.9f);
        const bool vertical = style == juce::Slider::LinearBarVertical;

        drawShinyButtonShape (g,
                              (float) x,
                              vertical ? sliderPos : (float) y,
                              vertical ? (float) width : sliderPos - (float) x,
                              vertical ? (float) height - sliderPos : (float) height,
                              0.0f, colour, slider.isEnabled() ? 0.9f : 0.3f,
                              true, true, true, true);
        return;
    }

    drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);

    if (style != juce::Slider::LinearHorizontal && style != juce::Slider::LinearVertical)
        drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

void VXLook::fillTrack (juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider)
{
    g.setColour (slider.findColour (juce::Slider::trackColourId).withBrightness (getValueProportion (slider)));
    g.fillRect (x, y, width, height);
}

void VXLook::drawHorizontalTrackGlossAndOutline (juce::Graphics& g, int x, int y, int width, int height)
{
    g.setGradientFill (juce::ColourGradient (juce::Colours::transparentWhite, (float) x, (float) y,
                                             juce::Colour (0x19ffffff), (float) x, (float) (y + height), false));
    g.fillRect (x, y, width, height);

    // Two identical passes: where the frame falls between pixels its edge comes out darker.
    const juce::Rectangle<float> outline ((float) x, (float) y, (float) width, (float) height);
    g.setColour (juce::Colour (greyArgb));
    g.drawRect (outline, 2.0f);
    g.drawRect (outline, 2.0f);
}

void VXLook::drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                         float sliderPos, float, float,
                                         juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const auto thumbColour = slider.findColour (juce::Slider::thumbColourId);

    if (style == juce::Slider::LinearHorizontal)
    {
        fillTrack (g, x, y, width, height, slider);

        g.setColour (thumbColour);
        g.fillRect (juce::Rectangle<int> (x, y, (int) sliderPos - x, height).reduced (2));

        drawHorizontalTrackGlossAndOutline (g, x, y, width, height);
    }
    else if (style == juce::Slider::LinearVertical)
    {
        fillTrack (g, x, y, width, height, slider);

        // The value rises from the bottom to the thumb, mirroring the horizontal track's
        // 2-pixel gap before the thumb position.
        const int top = juce::jlimit (y, y + height, (int) sliderPos);
        g.setColour (thumbColour);
        g.fillRect (juce::Rectangle<int> (x, top, width, y + height - top).reduced (2));

        g.setGradientFill (juce::ColourGradient (juce::Colours::transparentWhite, (float) x, (float) y,
                                                 juce::Colour (0x19ffffff), (float) (x + width), (float) y, false));
        g.fillRect (x, y, width, height);

        g.setColour (juce::Colour (greyArgb));
        g.drawRect (juce::Rectangle<float> ((float) x, (float) y, (float) width, (float) height), 2.0f);
    }
}

void VXLook::drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height,
                                    float sliderPos, float minSliderPos, float maxSliderPos,
                                    juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const auto r = (float) (getSliderThumbRadius (slider) - 2);
    const auto colour = slider.findColour (juce::Slider::thumbColourId);
    const auto outline = slider.isEnabled() ? 0.8f : 0.3f;

    if (style == juce::Slider::ThreeValueVertical)
        drawGlassSphere (g, (float) x + (float) width * 0.5f - r, sliderPos - r, r * 2.0f, colour, outline);

    if (style == juce::Slider::TwoValueVertical || style == juce::Slider::ThreeValueVertical)
    {
        const auto sr = juce::jmin (r, (float) width * 0.4f);

        drawGlassPointer (g, juce::jmax (0.0f, (float) x + (float) width * 0.5f - r * 2.0f),
                          minSliderPos - r, r * 2.0f, colour, outline, 1);
        drawGlassPointer (g, juce::jmin ((float) x + (float) width * 0.5f, (float) x + (float) width - r * 2.0f),
                          maxSliderPos - sr, r * 2.0f, colour, outline, 3);
        return;
    }

    if (style == juce::Slider::ThreeValueHorizontal)
        drawGlassSphere (g, sliderPos - r, (float) y + (float) height * 0.5f - r, r * 2.0f, colour, outline);

    if (style == juce::Slider::TwoValueHorizontal || style == juce::Slider::ThreeValueHorizontal)
    {
        // These three bars sit at the slider's own origin, not at (x, y).
        g.setColour (juce::Colour (0xffaeaeae));
        g.fillRect (0, 0, width + (int) r, height);

        g.setColour (juce::Colours::black);
        g.fillRect (juce::Rectangle<float> (0.5f * r, 0.5f * r, (float) width, (float) height - r));

        g.setColour (colour);
        g.fillRect (juce::Rectangle<float> (minSliderPos - 0.75f * r, 0.5f * r,
                                            (maxSliderPos - minSliderPos) - 0.125f * r, (float) height - r));
    }
}

juce::Label* VXLook::createSliderTextBox (juce::Slider& slider)
{
    auto* label = new SliderLabelComp();
    const bool isBar = slider.getSliderStyle() == juce::Slider::LinearBar
                    || slider.getSliderStyle() == juce::Slider::LinearBarVertical;

    label->setJustificationType (juce::Justification::centred);
    label->setFont (juce::Font (10.0f));
    label->setKeyboardType (juce::TextInputTarget::decimalKeyboard);

    label->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::Label::backgroundColourId,
                      isBar ? juce::Colours::transparentBlack : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::TextEditor::backgroundColourId,
                      slider.findColour (juce::Slider::textBoxBackgroundColourId)
                          .withAlpha ((juce::uint8) (isBar ? 0xb3 : 0xff)));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::highlightColourId, slider.findColour (juce::Slider::textBoxHighlightColourId));

    return label;
}

//==============================================================================
VXLook::SliderLabelComp::SliderLabelComp()
    : juce::Label ({}, {})
{
}

void VXLook::SliderLabelComp::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&)
{
    // Swallowed: the wheel over the value box must not reach the slider behind it.
}

void VXLook::SliderLabelComp::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (darkGreyArgb).withMultipliedBrightness (0.3f));
    g.fillRect (getLocalBounds());
    juce::Label::paint (g);
}
} // namespace oskv
