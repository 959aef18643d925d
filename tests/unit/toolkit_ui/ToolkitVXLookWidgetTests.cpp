#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/VXLook.h"

#include <gtest/gtest.h>

using toolkit_test::isBlank;
using toolkit_test::render;
using toolkit_test::sameColour;

namespace
{
const juce::Colour darkGrey (0xff272727);
const juce::Colour grey (0xff303030);
const juce::Colour lightGrey (0xffbdbdbd);

/** The most opaque pixel of an image: for text, a glyph's solid interior. */
juce::Colour mostOpaquePixel (const juce::Image& image)
{
    juce::Colour best (0x00000000);

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() > best.getAlpha())
                best = image.getPixelAt (x, y);

    return best;
}

/** Makes the look the default for the test's life, as the editor does. */
struct ScopedDefaultLook
{
    explicit ScopedDefaultLook (juce::LookAndFeel& look)
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&look);
        juce::Typeface::clearTypefaceCache();
    }

    ~ScopedDefaultLook()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        juce::Typeface::clearTypefaceCache();
    }
};
} // namespace

//==============================================================================
TEST (ToolkitVXLookSetup, SetsTheSeventeenColours)
{
    oskv::VXLook look;

    EXPECT_EQ (look.findColour (juce::PopupMenu::textColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::PopupMenu::highlightedBackgroundColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::PopupMenu::highlightedTextColourId), darkGrey);
    EXPECT_EQ (look.findColour (juce::TooltipWindow::backgroundColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::TooltipWindow::textColourId), darkGrey);
    EXPECT_EQ (look.findColour (juce::TooltipWindow::outlineColourId), juce::Colours::black);
    EXPECT_EQ (look.findColour (juce::ComboBox::backgroundColourId), darkGrey);
    EXPECT_EQ (look.findColour (juce::ComboBox::textColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::ComboBox::outlineColourId), grey);
    EXPECT_EQ (look.findColour (juce::ComboBox::arrowColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::ListBox::backgroundColourId), darkGrey);
    EXPECT_EQ (look.findColour (juce::DirectoryContentsDisplayComponent::textColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::DirectoryContentsDisplayComponent::highlightColourId), juce::Colour (0xff1c91ab));
    EXPECT_EQ (look.findColour (juce::TreeView::backgroundColourId), darkGrey);
    EXPECT_EQ (look.findColour (juce::TreeView::linesColourId), lightGrey);
    EXPECT_EQ (look.findColour (juce::DrawableButton::backgroundOnColourId), juce::Colour (0x00ffffff));
    EXPECT_EQ (look.findColour (juce::DrawableButton::backgroundColourId), juce::Colour (0x00ffffff));

    EXPECT_FLOAT_EQ (look.uiScale, 1.0f);
    EXPECT_EQ (look.uiScaleSource, &look.uiScale);
    EXPECT_NE (look.knobBack, nullptr);
    EXPECT_NE (look.knobFront, nullptr);
}

TEST (ToolkitVXLookSetup, EveryFontResolvesToTheEmbeddedTypeface)
{
    oskv::VXLook look;
    ASSERT_NE (look.typeface, nullptr);
    EXPECT_TRUE (look.typeface->getName().startsWith ("Roboto"));

    for (const auto& font : { juce::Font (10.0f), juce::Font ("Courier New", 30.0f, juce::Font::bold | juce::Font::italic),
                              juce::Font (juce::Font::getDefaultMonospacedFontName(), 7.0f, juce::Font::plain),
                              juce::Font (juce::Font::getDefaultSerifFontName(), 99.0f, juce::Font::italic) })
        EXPECT_EQ (look.getTypefaceForFont (font).get(), look.typeface.get());

    ScopedDefaultLook asDefault (look);

    for (const auto& name : { juce::String ("Helvetica"), juce::String ("Arial Black"), juce::String ("Nonexistent Sans") })
    {
        juce::Font font (name, 13.0f, juce::Font::bold | juce::Font::italic);
        EXPECT_EQ (font.getTypefacePtr().get(), look.typeface.get()) << name;
    }

    // Text measured through the framework uses the embedded outlines.
    juce::Font plain (12.0f);
    EXPECT_FLOAT_EQ (plain.getStringWidthFloat ("SOMBRAX"), look.typeface->getStringWidth ("SOMBRAX") * 12.0f);
}

//==============================================================================
TEST (ToolkitVXLookButton, UntoggledFaceIsAGreyFrameAroundTheButtonColour)
{
    oskv::VXLook look;
    juce::TextButton button;
    button.setBounds (0, 0, 60, 20);

    const auto image = render (60, 20, [&] (juce::Graphics& g)
    {
        look.drawButtonBackground (g, button, darkGrey, true, false);
    });

    EXPECT_TRUE (sameColour (image.getPixelAt (0, 0), grey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (59, 19), grey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (1, 1), darkGrey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (30, 10), darkGrey, 0));

    // Disabling dims only the text, never the face.
    button.setEnabled (false);
    const auto disabled = render (60, 20, [&] (juce::Graphics& g)
    {
        look.drawButtonBackground (g, button, darkGrey, false, false);
    });
    EXPECT_EQ (disabled.getPixelAt (0, 0), image.getPixelAt (0, 0));
    EXPECT_EQ (disabled.getPixelAt (30, 10), image.getPixelAt (30, 10));
}

TEST (ToolkitVXLookButton, ToggledOrPressedFaceHasABlackFrameAndADarkerFace)
{
    oskv::VXLook look;
    juce::TextButton button;
    button.setBounds (0, 0, 60, 20);
    const auto face = juce::Colour (0xff1c91ab);

    auto draw = [&] (bool pressed)
    {
        return render (60, 20, [&] (juce::Graphics& g) { look.drawButtonBackground (g, button, face, false, pressed); });
    };

    button.setToggleState (true, juce::dontSendNotification);
    for (const auto& image : { draw (false), draw (true) })
    {
        EXPECT_TRUE (sameColour (image.getPixelAt (0, 0), juce::Colours::black, 0));
        EXPECT_TRUE (sameColour (image.getPixelAt (59, 10), juce::Colours::black, 0));
        EXPECT_TRUE (sameColour (image.getPixelAt (1, 1), grey, 0));
        EXPECT_TRUE (sameColour (image.getPixelAt (58, 18), grey, 0));
        EXPECT_TRUE (sameColour (image.getPixelAt (2, 2), face.withMultipliedBrightness (0.8f), 0));
    }

    button.setToggleState (false, juce::dontSendNotification);
    const auto pressed = draw (true);
    EXPECT_TRUE (sameColour (pressed.getPixelAt (0, 0), juce::Colours::black, 0));
    EXPECT_TRUE (sameColour (pressed.getPixelAt (30, 10), face.withMultipliedBrightness (0.8f), 0));
}

TEST (ToolkitVXLookButton, TinyButtonFacesDoNotFail)
{
    oskv::VXLook look;
    juce::TextButton button;
    button.setBounds (0, 0, 1, 1);

    const auto image = render (4, 4, [&] (juce::Graphics& g)
    {
        look.drawButtonBackground (g, button, darkGrey, false, true);
        look.drawButtonText (g, button, false, true);
    });
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 0), juce::Colours::black, 0));
    EXPECT_EQ (image.getPixelAt (1, 1).getAlpha(), 0);
}

TEST (ToolkitVXLookButton, TextColourFollowsToggleAndPressAndHalvesWhenDisabled)
{
    oskv::VXLook look;
    ScopedDefaultLook asDefault (look);
    juce::TextButton button ("HHH");
    button.setBounds (0, 0, 80, 40);
    button.setColour (juce::TextButton::textColourOnId, juce::Colours::red);
    button.setColour (juce::TextButton::textColourOffId, juce::Colours::lime);

    auto text = [&] (bool pressed)
    {
        return mostOpaquePixel (render (80, 40, [&] (juce::Graphics& g) { look.drawButtonText (g, button, false, pressed); }));
    };

    EXPECT_TRUE (sameColour (text (false), juce::Colours::lime));
    EXPECT_TRUE (sameColour (text (true), juce::Colours::red));

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (sameColour (text (false), juce::Colours::red));

    button.setEnabled (false);
    const auto disabled = text (false);
    EXPECT_NEAR (disabled.getAlpha(), 0x80, 2);
    EXPECT_NEAR (disabled.getRed(), 0xff, 3);
}

//==============================================================================
TEST (ToolkitVXLookPopup, BackgroundIsDarkGreyInsideATwoPixelGreyFrame)
{
    oskv::VXLook look;
    const auto image = render (100, 60, [&] (juce::Graphics& g) { look.drawPopupMenuBackground (g, 100, 60); });

    EXPECT_TRUE (sameColour (image.getPixelAt (0, 0), grey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (1, 30), grey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (98, 58), grey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (2, 30), darkGrey, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 30), darkGrey, 0));
}

TEST (ToolkitVXLookPopup, ItemsAreEighteenHighAndThirtySixWiderThanTheirText)
{
    oskv::VXLook look;
    ScopedDefaultLook asDefault (look);
    const juce::String text ("ASSIGN TO LAST CC");

    EXPECT_FLOAT_EQ (look.getPopupMenuFont().getHeight(), 14.0f);

    int width = 0, height = 0;
    look.getIdealPopupMenuItemSize (text, false, 0, width, height);
    EXPECT_EQ (height, 18);
    const auto textWidth = (int) std::ceil (look.typeface->getStringWidth (text) * 14.0f);
    EXPECT_NEAR (width, textWidth + 36, 1);

    look.getIdealPopupMenuItemSize (text, true, 0, width, height);
    EXPECT_EQ (width, 50);
    EXPECT_EQ (height, 10);
}

TEST (ToolkitVXLookPopup, StandardItemHeightRules)
{
    oskv::VXLook look;
    int width = 0, height = 0;

    look.getIdealPopupMenuItemSize ("X", true, 24, width, height);
    EXPECT_EQ (width, 50);
    EXPECT_EQ (height, 12);

    look.getIdealPopupMenuItemSize ("", false, 24, width, height);
    EXPECT_EQ (height, 24);
    EXPECT_EQ (width, 48);

    look.getIdealPopupMenuItemSize ("", false, 13, width, height);
    EXPECT_EQ (height, 13);
    EXPECT_EQ (width, 26);
}

TEST (ToolkitVXLookPopup, ScrollArrowsPointTheirWay)
{
    oskv::VXLook look;

    // 40 x 20: the arrow's base lies at 0.6 h (up) or 0.3 h (down), its tip at the other.
    const auto up = render (40, 20, [&] (juce::Graphics& g) { look.drawPopupMenuUpDownArrow (g, 40, 20, true); });
    const auto down = render (40, 20, [&] (juce::Graphics& g) { look.drawPopupMenuUpDownArrow (g, 40, 20, false); });

    EXPECT_TRUE (sameColour (up.getPixelAt (16, 11), lightGrey, 3));
    EXPECT_FALSE (sameColour (up.getPixelAt (16, 7), lightGrey, 40));
    EXPECT_TRUE (sameColour (down.getPixelAt (16, 6), lightGrey, 3));
    EXPECT_FALSE (sameColour (down.getPixelAt (16, 11), lightGrey, 40));

    // The fade is opaque at mid-height and vanishes towards the arrow's far side.
    EXPECT_GT (up.getPixelAt (2, 9).getAlpha(), 0xf0);
    EXPECT_LT (up.getPixelAt (2, 18).getAlpha(), 0x30);
    EXPECT_LT (down.getPixelAt (2, 1).getAlpha(), 0x30);
}

//==============================================================================
TEST (ToolkitVXLookComboBox, EnabledBoxShowsItsArrowAndADisabledOneDoesNot)
{
    oskv::VXLook look;
    juce::ComboBox box;
    box.setLookAndFeel (&look);
    box.setBounds (0, 0, 100, 20);

    auto draw = [&]
    {
        return render (100, 20, [&] (juce::Graphics& g) { look.drawComboBox (g, 100, 20, false, 80, 0, 20, 20, box); });
    };

    auto image = draw();
    // Triangle (90, 14), (94, 8), (86, 8).
    EXPECT_TRUE (sameColour (image.getPixelAt (90, 9), lightGrey, 3));
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 10), juce::Colours::black, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 19), juce::Colours::black, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 18), juce::Colours::black, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (2, 10), grey, 1));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 10), darkGrey, 2));

    box.setEnabled (false);
    const auto disabled = draw();
    EXPECT_TRUE (sameColour (disabled.getPixelAt (90, 9), darkGrey, 2));
    EXPECT_EQ (disabled.getPixelAt (2, 10), image.getPixelAt (2, 10));
    EXPECT_EQ (disabled.getPixelAt (50, 19), image.getPixelAt (50, 19));

    EXPECT_FLOAT_EQ (look.getComboBoxFont (box).getHeight(), 14.0f);
    box.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (ToolkitVXLookTreeView, BoxIsElevenPixelsInTwentyWithPlusOrMinus)
{
    oskv::VXLook look;

    auto draw = [&] (bool open)
    {
        return render (20, 20, [&] (juce::Graphics& g)
        {
            look.drawTreeviewPlusMinusBox (g, { 0.0f, 0.0f, 20.0f, 20.0f }, juce::Colours::white, open, false);
        });
    };

    const auto closed = draw (false);
    // Box (4, 4, 11, 11): dark frame, light inside, bars through row and column 9.
    EXPECT_EQ (closed.getPixelAt (3, 9).getAlpha(), 0);
    EXPECT_EQ (closed.getPixelAt (15, 9).getAlpha(), 0);
    EXPECT_EQ (closed.getPixelAt (9, 3).getAlpha(), 0);
    EXPECT_EQ (closed.getPixelAt (9, 15).getAlpha(), 0);
    EXPECT_TRUE (sameColour (closed.getPixelAt (4, 4), darkGrey, 0));
    EXPECT_TRUE (sameColour (closed.getPixelAt (14, 14), darkGrey, 0));
    EXPECT_TRUE (sameColour (closed.getPixelAt (5, 5), lightGrey, 0));
    EXPECT_TRUE (sameColour (closed.getPixelAt (8, 9), darkGrey, 0));
    EXPECT_TRUE (sameColour (closed.getPixelAt (9, 8), darkGrey, 0));
    EXPECT_TRUE (sameColour (closed.getPixelAt (9, 9), darkGrey, 0));

    const auto open = draw (true);
    EXPECT_TRUE (sameColour (open.getPixelAt (8, 9), darkGrey, 0));
    EXPECT_TRUE (sameColour (open.getPixelAt (9, 8), lightGrey, 0));
    EXPECT_TRUE (sameColour (open.getPixelAt (9, 11), lightGrey, 0));
}

//==============================================================================
TEST (ToolkitVXLookScrollbar, SizesAreEightWideWithoutButtons)
{
    oskv::VXLook look;
    juce::ScrollBar bar (true);
    EXPECT_EQ (look.getDefaultScrollbarWidth(), 8);
    EXPECT_EQ (look.getScrollbarButtonSize (bar), 0);
}

TEST (ToolkitVXLookScrollbar, FifteenPixelsHaveNoSlotIndentAndSixteenHaveOne)
{
    oskv::VXLook look;
    juce::ScrollBar bar (true);

    auto draw = [&] (int width, int thumbSize)
    {
        return render (width, 100, [&] (juce::Graphics& g)
        {
            look.drawScrollbar (g, bar, 0, 0, width, 100, true, 20, thumbSize, false, false);
        });
    };

    // 15 wide: slot from x = 0, thumb from x = 1.
    auto image = draw (15, 40);
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 70), lightGrey, 3));
    EXPECT_TRUE (sameColour (image.getPixelAt (7, 10), lightGrey, 3));
    EXPECT_LT (image.getPixelAt (1, 40).getRed(), 0x50);
    EXPECT_GT (image.getPixelAt (0, 40).getRed(), 0xa0);
    EXPECT_TRUE (sameColour (image.getPixelAt (7, 40), darkGrey, 2));

    // 16 wide: background at x = 0, slot from x = 1, thumb from x = 2.
    image = draw (16, 40);
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 70), darkGrey, 0));
    EXPECT_GT (image.getPixelAt (1, 70).getRed(), 0xa0);
    EXPECT_GT (image.getPixelAt (1, 40).getRed(), 0xa0);
    EXPECT_LT (image.getPixelAt (2, 40).getRed(), 0x50);

    // No thumb: only the slot.
    image = draw (16, 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (8, 40), lightGrey, 0));
}

TEST (ToolkitVXLookScrollbar, HorizontalBarsUseTheirHeightForTheIndents)
{
    oskv::VXLook look;
    juce::ScrollBar bar (false);

    const auto image = render (100, 15, [&] (juce::Graphics& g)
    {
        look.drawScrollbar (g, bar, 0, 0, 100, 15, false, 20, 40, false, false);
    });

    EXPECT_TRUE (sameColour (image.getPixelAt (70, 0), lightGrey, 3));
    EXPECT_LT (image.getPixelAt (40, 1).getRed(), 0x50);
    EXPECT_TRUE (sameColour (image.getPixelAt (40, 7), darkGrey, 2));
}

//==============================================================================
namespace
{
struct TabFixture
{
    explicit TabFixture (juce::TabbedButtonBar::Orientation orientation)
        : bar (orientation)
    {
        bar.setLookAndFeel (&look);
        bar.addTab ("ONE", juce::Colour (0xff1c91ab), -1);
        bar.addTab ("TWO", juce::Colour (0xff1c91ab), -1);
        bar.setBounds (0, 0, bar.isVertical() ? 30 : 300, bar.isVertical() ? 300 : 30);
        bar.setCurrentTabIndex (0, false);
    }

    ~TabFixture()
    {
        bar.setLookAndFeel (nullptr);
    }

    juce::Path shapeOf (int index)
    {
        juce::Path path;
        look.createTabButtonShape (*bar.getTabButton (index), path, false, false);
        return path;
    }

    oskv::VXLook look;
    juce::TabbedButtonBar bar;
};
} // namespace

TEST (ToolkitVXLookTabs, TopTabsArePlainRoundedRectangles)
{
    TabFixture tabs (juce::TabbedButtonBar::TabsAtTop);
    const auto area = tabs.bar.getTabButton (0)->getActiveArea();
    const auto path = tabs.shapeOf (0);
    const auto w = (float) area.getWidth();
    const auto h = (float) area.getHeight();

    EXPECT_EQ (path.getBounds(), juce::Rectangle<float> (0.0f, 0.0f, w, h));
    EXPECT_TRUE (path.contains (1.5f, h * 0.5f));
    EXPECT_TRUE (path.contains (w * 0.5f, 0.5f));
    EXPECT_TRUE (path.contains (2.5f, h - 2.5f));
    // Rounded with radius 3: the very corner is cut.
    EXPECT_FALSE (path.contains (0.2f, 0.2f));
}

TEST (ToolkitVXLookTabs, OtherEdgesKeepTheSlantedOverhangingShape)
{
    {
        TabFixture tabs (juce::TabbedButtonBar::TabsAtBottom);
        const auto area = tabs.bar.getTabButton (0)->getActiveArea();
        const auto w = (float) area.getWidth();
        const auto h = (float) area.getHeight();
        const auto bounds = tabs.shapeOf (0).getBounds();

        EXPECT_NEAR (bounds.getY(), -4.0f, 1.0f);
        EXPECT_NEAR (bounds.getX(), -4.0f, 1.0f);
        EXPECT_NEAR (bounds.getRight(), w + 4.0f, 1.0f);
        EXPECT_NEAR (bounds.getBottom(), h, 0.01f);
        // The slant: at the bottom the tab is inset by the overlap.
        EXPECT_FALSE (tabs.shapeOf (0).contains (1.0f, h - 1.0f));
        EXPECT_TRUE (tabs.shapeOf (0).contains (w * 0.5f, h - 1.0f));
    }
    {
        TabFixture tabs (juce::TabbedButtonBar::TabsAtLeft);
        const auto area = tabs.bar.getTabButton (0)->getActiveArea();
        const auto w = (float) area.getWidth();
        const auto h = (float) area.getHeight();
        const auto bounds = tabs.shapeOf (0).getBounds();

        EXPECT_NEAR (bounds.getX(), 0.0f, 0.01f);
        EXPECT_NEAR (bounds.getRight(), w + 4.0f, 1.0f);
        EXPECT_FALSE (tabs.shapeOf (0).contains (1.0f, 1.0f));
        EXPECT_TRUE (tabs.shapeOf (0).contains (1.0f, h * 0.5f));
    }
    {
        TabFixture tabs (juce::TabbedButtonBar::TabsAtRight);
        const auto area = tabs.bar.getTabButton (0)->getActiveArea();
        const auto w = (float) area.getWidth();
        const auto h = (float) area.getHeight();
        const auto bounds = tabs.shapeOf (0).getBounds();

        EXPECT_NEAR (bounds.getX(), -4.0f, 1.0f);
        EXPECT_NEAR (bounds.getRight(), w, 0.01f);
        EXPECT_FALSE (tabs.shapeOf (0).contains (w - 1.0f, 1.0f));
        EXPECT_TRUE (tabs.shapeOf (0).contains (w - 1.0f, h * 0.5f));
    }
}

TEST (ToolkitVXLookTabs, FrontTabIsFullColourOthersDarkerWithABaseLine)
{
    TabFixture tabs (juce::TabbedButtonBar::TabsAtTop);
    tabs.bar.setColour (juce::TabbedButtonBar::frontOutlineColourId, juce::Colours::red);
    tabs.bar.setColour (juce::TabbedButtonBar::tabOutlineColourId, juce::Colours::lime);
    auto* front = tabs.bar.getTabButton (0);
    auto* back = tabs.bar.getTabButton (1);
    front->setColour (juce::TabbedButtonBar::frontOutlineColourId, juce::Colours::red);
    back->setColour (juce::TabbedButtonBar::tabOutlineColourId, juce::Colours::lime);
    ASSERT_TRUE (front->isFrontTab());
    ASSERT_FALSE (back->isFrontTab());

    juce::Path shape;
    shape.addRectangle (0.0f, 0.0f, 40.0f, 20.0f);

    auto fill = [&] (juce::TabBarButton& button)
    {
        return render (40, 24, [&] (juce::Graphics& g) { tabs.look.fillTabButtonShape (button, g, shape, false, false); });
    };

    const auto frontImage = fill (*front);
    EXPECT_TRUE (sameColour (frontImage.getPixelAt (20, 10), juce::Colour (0xff1c91ab), 0));
    EXPECT_GT (frontImage.getPixelAt (20, 20).getRed(), 0x70);
    EXPECT_EQ (frontImage.getPixelAt (20, 20).getGreen(), 0);

    const auto backImage = fill (*back);
    EXPECT_TRUE (sameColour (backImage.getPixelAt (20, 10), juce::Colour (0xff1c91ab).withMultipliedBrightness (0.7f), 1));
    EXPECT_GT (backImage.getPixelAt (20, 20).getGreen(), 0x70);
    EXPECT_EQ (backImage.getPixelAt (20, 20).getRed(), 0);
    // No outline stroke down the sides.
    EXPECT_TRUE (sameColour (backImage.getPixelAt (0, 10), juce::Colour (0xff1c91ab).withMultipliedBrightness (0.7f), 1));
}

TEST (ToolkitVXLookTabs, BarBackgroundDrawsNothing)
{
    TabFixture tabs (juce::TabbedButtonBar::TabsAtTop);
    const auto image = render (300, 30, [&] (juce::Graphics& g) { tabs.look.drawTabbedButtonBarBackground (tabs.bar, g); });
    EXPECT_TRUE (isBlank (image));
}

TEST (ToolkitVXLookTabs, AreaBehindTheFrontTabEndsInADarkLineFacingTheContent)
{
    TabFixture tabs (juce::TabbedButtonBar::TabsAtTop);
    const auto image = render (300, 30, [&] (juce::Graphics& g) { tabs.look.drawTabAreaBehindFrontButton (tabs.bar, g, 300, 30); });

    EXPECT_GE (image.getPixelAt (150, 29).getAlpha(), 0x80);
    EXPECT_EQ (image.getPixelAt (150, 5).getAlpha(), 0);
}

//==============================================================================
TEST (ToolkitVXLookShinyShape, FillsAPlainRectangleOnlyAboveOnePointOne)
{
    const auto colour = juce::Colour (0xff1c91ab);

    auto draw = [&] (float w, float h)
    {
        return render (20, 20, [&] (juce::Graphics& g)
        {
            oskv::VXLook::drawShinyButtonShape (g, 2.0f, 2.0f, w, h, 8.0f, colour, 3.0f, false, false, false, false);
        });
    };

    EXPECT_TRUE (isBlank (draw (1.1f, 10.0f)));
    EXPECT_TRUE (isBlank (draw (10.0f, 1.1f)));
    EXPECT_TRUE (isBlank (draw (-5.0f, 10.0f)));

    const auto image = draw (10.0f, 10.0f);
    // Square corners and no outline: the corner pixels carry the plain colour.
    EXPECT_TRUE (sameColour (image.getPixelAt (2, 2), colour, 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (11, 11), colour, 0));
    EXPECT_EQ (image.getPixelAt (12, 12).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (1, 1).getAlpha(), 0);
}

TEST (ToolkitVXLookLabel, DrawsLikeTheFrameworkLabel)
{
    oskv::VXLook look;
    juce::LookAndFeel_V2 framework;
    juce::Label label ({}, "TEXT");
    label.setBounds (0, 0, 60, 20);
    label.setColour (juce::Label::backgroundColourId, juce::Colour (0xff102030));
    label.setColour (juce::Label::outlineColourId, juce::Colours::red);

    const auto ours = render (60, 20, [&] (juce::Graphics& g) { look.drawLabel (g, label); });
    const auto theirs = render (60, 20, [&] (juce::Graphics& g) { framework.drawLabel (g, label); });

    EXPECT_TRUE (sameColour (ours.getPixelAt (0, 10), juce::Colours::red, 0));
    EXPECT_TRUE (sameColour (ours.getPixelAt (1, 1), juce::Colour (0xff102030), 0));
    EXPECT_EQ (ours.getPixelAt (1, 1), theirs.getPixelAt (1, 1));
    EXPECT_EQ (ours.getPixelAt (0, 10), theirs.getPixelAt (0, 10));
}

TEST (ToolkitVXLookPopup, FontsFollowTheScaleTheLookPointsAt)
{
    oskv::VXLook look;
    juce::ComboBox box;
    box.setBounds (0, 0, 100, 20);

    float editorScale = 2.0f;
    look.uiScaleSource = &editorScale;
    EXPECT_FLOAT_EQ (look.getPopupMenuFont().getHeight(), 28.0f);
    EXPECT_FLOAT_EQ (look.getComboBoxFont (box).getHeight(), 28.0f);

    int width = 0, height = 0;
    look.getIdealPopupMenuItemSize ("", false, 0, width, height);
    EXPECT_EQ (height, 36);

    look.uiScaleSource = nullptr;
    EXPECT_FLOAT_EQ (look.getPopupMenuFont().getHeight(), 14.0f);
}
