#include "VXLook.h"

#include <SombraxBinaryData.h>

#include <cmath>

namespace oskv
{
namespace
{
// Palette values, written out: the look does not read oskv::OskvColours at run time.
constexpr juce::uint32 darkGreyArgb = 0xff272727;
constexpr juce::uint32 greyArgb = 0xff303030;
constexpr juce::uint32 lightGreyArgb = 0xffbdbdbd;
constexpr juce::uint32 blueArgb = 0xff1c91ab;
} // namespace

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

//==============================================================================
void VXLook::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                   bool, bool isButtonDown)
{
    const int w = button.getWidth();
    const int h = button.getHeight();

    if (button.getToggleState() || isButtonDown)
    {
        g.setColour (juce::Colours::black);
        g.fillRect (0, 0, w, h);
        g.setColour (juce::Colour (greyArgb));
        g.fillRect (1, 1, juce::jmax (0, w - 2), juce::jmax (0, h - 2));
        g.setColour (backgroundColour.withMultipliedBrightness (0.8f));
        g.fillRect (2, 2, juce::jmax (0, w - 4), juce::jmax (0, h - 4));
        return;
    }

    g.setColour (juce::Colour (greyArgb));
    g.fillRect (0, 0, w, h);
    g.setColour (backgroundColour);
    g.fillRect (1, 1, juce::jmax (0, w - 2), juce::jmax (0, h - 2));
}

void VXLook::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool isButtonDown)
{
    const juce::Font font (getTextButtonFont (button, button.getHeight()));
    const bool useOnColour = button.getToggleState() || isButtonDown;

    g.setFont (font);
    g.setColour (button.findColour (useOnColour ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId)
                     .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    const int yIndent = juce::jmin (4, button.proportionOfHeight (0.3f));
    const int cornerSize = juce::jmin (button.getHeight(), button.getWidth()) / 2;
    const int fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const int leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const int textWidth = button.getWidth() - leftIndent - rightIndent;
    const int textHeight = button.getHeight() - yIndent * 2;

    if (textWidth > 0 && textHeight > 0)
        g.drawFittedText (button.getButtonText(), leftIndent, yIndent, textWidth, textHeight,
                          juce::Justification::centred, 2);
}

void VXLook::drawShinyButtonShape (juce::Graphics& g, float x, float y, float w, float h, float,
                                   const juce::Colour& baseColour, float, bool, bool, bool, bool)
{
    if (! (w > 1.1f && h > 1.1f))
        return;

    juce::Path bar;
    bar.startNewSubPath (x, y);
    bar.lineTo (x + w, y);
    bar.lineTo (x + w, y + h);
    bar.lineTo (x, y + h);
    bar.closeSubPath();

    g.setColour (baseColour);
    g.fillPath (bar);
}

//==============================================================================
void VXLook::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.fillAll (juce::Colour (darkGreyArgb));
    g.setColour (juce::Colour (greyArgb));
    g.drawRect (juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 2.0f);
}

juce::Font VXLook::getPopupMenuFont()
{
    return juce::Font (14.0f * getScale());
}

void VXLook::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height, bool isScrollUpArrow)
{
    const juce::Colour background (darkGreyArgb);

    g.setGradientFill (juce::ColourGradient (background, 0.0f, (float) height * 0.5f,
                                             background.withAlpha ((juce::uint8) 0),
                                             0.0f, isScrollUpArrow ? (float) height : 0.0f, false));
    g.fillRect (1, 1, width - 2, height - 2);

    const auto hw = (float) width * 0.5f;
    const auto arrowW = (float) height * 0.3f;
    const auto y1 = (float) height * (isScrollUpArrow ? 0.6f : 0.3f);
    const auto y2 = (float) height * (isScrollUpArrow ? 0.3f : 0.6f);

    juce::Path arrow;
    arrow.addTriangle (hw - arrowW, y1, hw + arrowW, y1, hw, y2);
    g.setColour (juce::Colour (lightGreyArgb));
    g.fillPath (arrow);
}

void VXLook::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                        int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 2 : 10;
        return;
    }

    auto font = getPopupMenuFont();

    if (standardMenuItemHeight > 0 && font.getHeight() > (float) standardMenuItemHeight / 1.3f)
        font.setHeight ((float) standardMenuItemHeight / 1.3f * getScale());

    idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight : juce::roundToInt (font.getHeight() * 1.3f);
    idealWidth = font.getStringWidth (text) + idealHeight * 2;
}

//==============================================================================
void VXLook::drawComboBox (juce::Graphics& g, int width, int height, bool,
                           int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& box)
{
    g.setColour (box.findColour (juce::ComboBox::backgroundColourId));
    g.fillRect (0, 0, width, height);

    g.setGradientFill (juce::ColourGradient (juce::Colour (0x02ffffff), (float) width * 0.25f, 0.0f,
                                             juce::Colour (0x00ffffff), (float) width * 0.75f, (float) height, false));
    g.fillRect (0, 0, width, height);

    g.setColour (juce::Colours::black);
    g.drawRect (juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 1.0f);
    g.fillRect (0, height - 2, width, 2);

    g.setColour (box.findColour (juce::ComboBox::outlineColourId));
    g.drawRect (juce::Rectangle<float> (2.0f, 2.0f, (float) juce::jmax (0, width - 4), (float) juce::jmax (0, height - 4)), 1.0f);

    if (! box.isEnabled())
        return;

    juce::Path arrow;
    arrow.addTriangle ((float) buttonX + (float) buttonW * 0.5f, (float) buttonY + (float) buttonH * 0.7f,
                       (float) buttonX + (float) buttonW * 0.7f, (float) buttonY + (float) buttonH * 0.4f,
                       (float) buttonX + (float) buttonW * 0.3f, (float) buttonY + (float) buttonH * 0.4f);
    g.setColour (box.findColour (juce::ComboBox::arrowColourId));
    g.fillPath (arrow);
}

juce::Font VXLook::getComboBoxFont (juce::ComboBox& box)
{
    return juce::Font ((float) box.getHeight() * 0.7f * getScale());
}

void VXLook::drawLabel (juce::Graphics& g, juce::Label& label)
{
    juce::LookAndFeel_V2::drawLabel (g, label);
}

//==============================================================================
void VXLook::drawTreeviewPlusMinusBox (juce::Graphics& g, const juce::Rectangle<float>& area,
                                       juce::Colour, bool isOpen, bool)
{
    const int boxSize = juce::roundToInt (juce::jmin (16.0f, area.getWidth(), area.getHeight()) * 0.7f) | 1;
    const int x = ((int) area.getWidth() - boxSize) / 2 + (int) area.getX();
    const int y = ((int) area.getHeight() - boxSize) / 2 + (int) area.getY();
    const float size = (float) (boxSize / 2) + 1.0f;
    const int centre = boxSize / 2;

    g.setColour (juce::Colour (lightGreyArgb));
    g.fillRect (x, y, boxSize, boxSize);

    g.setColour (juce::Colour (darkGreyArgb));
    g.drawRect (juce::Rectangle<float> ((float) x, (float) y, (float) boxSize, (float) boxSize), 1.0f);
    g.fillRect (juce::Rectangle<float> ((float) x + ((float) boxSize - size) * 0.5f, (float) (y + centre), size, 1.0f));

    if (! isOpen)
        g.fillRect (juce::Rectangle<float> ((float) (x + centre), (float) y + ((float) boxSize - size) * 0.5f, 1.0f, size));
}

//==============================================================================
void VXLook::drawScrollbar (juce::Graphics& g, juce::ScrollBar&, int x, int y, int width, int height,
                            bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool, bool)
{
    g.fillAll (juce::Colour (darkGreyArgb));

    const float slotIndent = juce::jmin (width, height) > 15 ? 1.0f : 0.0f;
    const float thumbIndent = slotIndent + 1.0f;

    const juce::Rectangle<float> slot ((float) x + slotIndent, (float) y + slotIndent,
                                       (float) width - 2.0f * slotIndent, (float) height - 2.0f * slotIndent);

    if (! slot.isEmpty())
    {
        juce::Path slotPath;
        slotPath.addRoundedRectangle (slot, (isScrollbarVertical ? slot.getWidth() : slot.getHeight()) * 0.5f);
        g.setColour (juce::Colour (lightGreyArgb));
        g.fillPath (slotPath);
    }

    if (thumbSize <= 0)
        return;

    const auto thumb = isScrollbarVertical
                         ? juce::Rectangle<float> ((float) x + thumbIndent, (float) thumbStartPosition + thumbIndent,
                                                   (float) width - 2.0f * thumbIndent, (float) thumbSize - 2.0f * thumbIndent)
                         : juce::Rectangle<float> ((float) thumbStartPosition + thumbIndent, (float) y + thumbIndent,
                                                   (float) thumbSize - 2.0f * thumbIndent, (float) height - 2.0f * thumbIndent);

    if (thumb.isEmpty())
        return;

    juce::Path thumbPath;
    thumbPath.addRoundedRectangle (thumb, (isScrollbarVertical ? thumb.getWidth() : thumb.getHeight()) * 0.5f);

    g.setColour (juce::Colour (darkGreyArgb));
    g.fillPath (thumbPath);
    g.setColour (juce::Colour (0x4c000000));
    g.strokePath (thumbPath, juce::PathStrokeType (0.4f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
}

int VXLook::getDefaultScrollbarWidth()
{
    return 8;
}

int VXLook::getScrollbarButtonSize (juce::ScrollBar&)
{
    return 0;
}

//==============================================================================
void VXLook::drawTabButton (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown)
{
    juce::Path tabShape;
    createTabButtonShape (button, tabShape, isMouseOver, isMouseDown);

    const auto activeArea = button.getActiveArea();
    tabShape.applyTransform (juce::AffineTransform::translation ((float) activeArea.getX(), (float) activeArea.getY()));

    juce::DropShadow (juce::Colour (0x7f000000), 2, { 0, 1 }).drawForPath (g, tabShape);

    fillTabButtonShape (button, g, tabShape, isMouseOver, isMouseDown);
    drawTabButtonText (button, g, isMouseOver, isMouseDown);
}

void VXLook::drawTabButtonText (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown)
{
    juce::LookAndFeel_V2::drawTabButtonText (button, g, isMouseOver, isMouseDown);
}

void VXLook::drawTabbedButtonBarBackground (juce::TabbedButtonBar&, juce::Graphics&)
{
}

void VXLook::drawTabAreaBehindFrontButton (juce::TabbedButtonBar& bar, juce::Graphics& g, int w, int h)
{
    const float shadowSize = 0.2f;
    juce::Rectangle<int> shadowRect, line;
    juce::ColourGradient gradient (juce::Colour ((juce::uint8) 0, (juce::uint8) 0, (juce::uint8) 0,
                                                 (juce::uint8) (bar.isEnabled() ? 0x3f : 0x26)),
                                   0.0f, 0.0f, juce::Colours::transparentBlack, 0.0f, 0.0f, false);

    switch (bar.getOrientation())
    {
        case juce::TabbedButtonBar::TabsAtLeft:
            gradient.point1.x = (float) w;
            gradient.point2.x = (float) w * (1.0f - shadowSize);
            shadowRect.setBounds ((int) gradient.point2.x, 0, w - (int) gradient.point2.x, h);
            line.setBounds (w - 1, 0, 1, h);
            break;

        case juce::TabbedButtonBar::TabsAtRight:
            gradient.point2.x = (float) w * shadowSize;
            shadowRect.setBounds (0, 0, (int) gradient.point2.x, h);
            line.setBounds (0, 0, 1, h);
            break;

        case juce::TabbedButtonBar::TabsAtTop:
            gradient.point1.y = (float) h;
            gradient.point2.y = (float) h * (1.0f - shadowSize);
            shadowRect.setBounds (0, (int) gradient.point2.y, w, h - (int) gradient.point2.y);
            line.setBounds (0, h - 1, w, 1);
            break;

        case juce::TabbedButtonBar::TabsAtBottom:
            gradient.point2.y = (float) h * shadowSize;
            shadowRect.setBounds (0, 0, w, (int) gradient.point2.y);
            line.setBounds (0, 0, w, 1);
            break;

        default:
            break;
    }

    g.setGradientFill (gradient);
    g.fillRect (shadowRect.expanded (2, 2));

    g.setColour (juce::Colour (0x80000000));
    g.fillRect (line);
}

void VXLook::createTabButtonShape (juce::TabBarButton& button, juce::Path& path, bool, bool)
{
    const auto activeArea = button.getActiveArea();
    const auto w = (float) activeArea.getWidth();
    const auto h = (float) activeArea.getHeight();
    const auto depth = button.getTabbedButtonBar().isVertical() ? w : h;
    const auto indent = (float) getTabButtonOverlap ((int) depth);
    const float overhang = 4.0f;

    switch (button.getTabbedButtonBar().getOrientation())
    {
        case juce::TabbedButtonBar::TabsAtLeft:
            path.startNewSubPath (w, 0.0f);
            path.lineTo (0.0f, indent);
            path.lineTo (0.0f, h - indent);
            path.lineTo (w, h);
            path.lineTo (w + overhang, h + overhang);
            path.lineTo (w + overhang, -overhang);
            break;

        case juce::TabbedButtonBar::TabsAtRight:
            path.startNewSubPath (0.0f, 0.0f);
            path.lineTo (w, indent);
            path.lineTo (w, h - indent);
            path.lineTo (0.0f, h);
            path.lineTo (-overhang, h + overhang);
            path.lineTo (-overhang, -overhang);
            break;

        case juce::TabbedButtonBar::TabsAtBottom:
            path.startNewSubPath (0.0f, 0.0f);
            path.lineTo (indent, h);
            path.lineTo (w - indent, h);
            path.lineTo (w, 0.0f);
            path.lineTo (w + overhang, -overhang);
            path.lineTo (-overhang, -overhang);
            break;

        case juce::TabbedButtonBar::TabsAtTop:
        default:
            // Top tabs are plain rectangles that sit flush on the content below.
            path.startNewSubPath (0.0f, h);
            path.lineTo (w, h);
            path.lineTo (w, 0.0f);
            path.lineTo (0.0f, 0.0f);
            break;
    }

    path.closeSubPath();
    path = path.createPathWithRoundedCorners (3.0f);
}

void VXLook::fillTabButtonShape (juce::TabBarButton& button, juce::Graphics& g, const juce::Path& path, bool, bool)
{
    const auto background = button.getTabBackgroundColour();
    const bool isFrontTab = button.isFrontTab();

    g.setColour (isFrontTab ? background : background.withMultipliedBrightness (0.7f));
    g.fillPath (path);

    // A single base line instead of a stroked outline.
    const auto bounds = path.getBounds();
    g.setColour (button.findColour (isFrontTab ? juce::TabbedButtonBar::frontOutlineColourId
                                               : juce::TabbedButtonBar::tabOutlineColourId, false)
                     .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    g.drawLine (bounds.getX(), bounds.getBottom(), bounds.getRight(), bounds.getBottom(), 1.0f);
}
} // namespace oskv
