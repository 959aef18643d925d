// The main look's buttons, popup menus, combo boxes, labels, scrollbars and tabs; the
// construction, the typeface and the sliders are in VXLook.cpp.

#include "VXLook.h"
#include "VXLookPalette.h"

namespace oskv
{
using namespace vxlook;

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
