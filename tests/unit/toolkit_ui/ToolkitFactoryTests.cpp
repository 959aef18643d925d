#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/LogoComponent.h"
#include "toolkit_ui/OskvColours.h"
#include "toolkit_ui/UIControlFactory.h"
#include "toolkit_ui/VXLook.h"

#include <gtest/gtest.h>

using toolkit_test::render;
using toolkit_test::sameColour;

TEST (ToolkitPalette, HoldsTheTwelveOpaqueColours)
{
    EXPECT_EQ (oskv::OskvColours::blue, juce::Colour (0xff1c91ab));
    EXPECT_EQ (oskv::OskvColours::green, juce::Colour (0xff199143));
    EXPECT_EQ (oskv::OskvColours::yellow, juce::Colour (0xffccb51f));
    EXPECT_EQ (oskv::OskvColours::red, juce::Colour (0xffd8504d));
    EXPECT_EQ (oskv::OskvColours::orange, juce::Colour (0xffc67624));
    EXPECT_EQ (oskv::OskvColours::lime, juce::Colour (0xff96ca30));
    EXPECT_EQ (oskv::OskvColours::teal, juce::Colour (0xff4bc89a));
    EXPECT_EQ (oskv::OskvColours::pink, juce::Colour (0xffdd42c2));
    EXPECT_EQ (oskv::OskvColours::purple, juce::Colour (0xff9731c2));
    EXPECT_EQ (oskv::OskvColours::grey, juce::Colour (0xff303030));
    EXPECT_EQ (oskv::OskvColours::dark_grey, juce::Colour (0xff272727));
    EXPECT_EQ (oskv::OskvColours::light_grey, juce::Colour (0xffbdbdbd));
}

TEST (ToolkitFactory, LabelWithEmptyTextIsCentredFixedLightGreyAndTransparent)
{
    std::unique_ptr<juce::Label> label (oskv::UIControlFactory::createRegularLabel ({}));

    EXPECT_TRUE (label->getText().isEmpty());
    EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xffbdbdbd));
    EXPECT_EQ (label->findColour (juce::Label::backgroundColourId).getAlpha(), 0);
    EXPECT_FALSE (label->isEditableOnSingleClick());
    EXPECT_FALSE (label->isEditableOnDoubleClick());
    EXPECT_FALSE (label->doesLossOfFocusDiscardChanges());
    EXPECT_FALSE (label->getWantsKeyboardFocus());
    EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), 10.0f);
    EXPECT_FALSE (label->getFont().isBold());
    EXPECT_FALSE (label->getFont().isItalic());

    label->setText ("DRIVE", juce::dontSendNotification);
    EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
}

TEST (ToolkitFactory, LabelTakesItsTextAndNoName)
{
    std::unique_ptr<juce::Label> label (oskv::UIControlFactory::createRegularLabel ("CUTOFF"));
    EXPECT_EQ (label->getText(), "CUTOFF");
    EXPECT_TRUE (label->getName().isEmpty());
}

TEST (ToolkitFactory, PushButtonCarriesItsColoursAndText)
{
    std::unique_ptr<juce::TextButton> button (oskv::UIControlFactory::createPushButton ("SAVE", juce::Colour (0xff1c91ab)));

    EXPECT_EQ (button->getButtonText(), "SAVE");
    EXPECT_EQ (button->findColour (juce::TextButton::buttonColourId), juce::Colour (0xff272727));
    EXPECT_EQ (button->findColour (juce::TextButton::buttonOnColourId), juce::Colour (0xff272727));
    EXPECT_EQ (button->findColour (juce::TextButton::textColourOnId), juce::Colour (0xff1c91ab));
    EXPECT_EQ (button->findColour (juce::TextButton::textColourOffId), juce::Colour (0xffbdbdbd));
    EXPECT_FALSE (button->getWantsKeyboardFocus());
    EXPECT_FALSE (button->getClickingTogglesState());
}

namespace
{
std::unique_ptr<juce::Drawable> makeSquare (juce::Colour colour)
{
    auto square = std::make_unique<juce::DrawablePath>();
    juce::Path p;
    p.addRectangle (0.0f, 0.0f, 10.0f, 10.0f);
    square->setPath (p);
    square->setFill (colour);
    return square;
}

void click (juce::Button& button)
{
    const auto event = toolkit_test::makeMouseDown (button, {});
    juce::Component& component = button;
    component.mouseDown (event);
    component.mouseUp (event);
}
} // namespace

TEST (ToolkitFactory, IconButtonTogglesBetweenItsTwoImages)
{
    auto normal = makeSquare (juce::Colours::red);
    auto down = makeSquare (juce::Colours::blue);
    oskv::VXLook look;
    std::unique_ptr<juce::DrawableButton> button (oskv::UIControlFactory::createIconButton (normal.get(), down.get()));

    // The caller keeps its own drawables.
    normal.reset();
    down.reset();

    button->setLookAndFeel (&look);
    button->setBounds (0, 0, 20, 20);
    button->setVisible (true);

    EXPECT_EQ (button->getStyle(), juce::DrawableButton::ImageFitted);
    EXPECT_TRUE (button->getName().isEmpty());
    EXPECT_EQ (button->getEdgeIndent(), 0);
    EXPECT_FALSE (button->getWantsKeyboardFocus());
    EXPECT_TRUE (button->getClickingTogglesState());

    auto centreColour = [&button]
    {
        return button->createComponentSnapshot (button->getLocalBounds()).getPixelAt (10, 10);
    };

    EXPECT_TRUE (sameColour (centreColour(), juce::Colours::red));

    click (*button);
    EXPECT_TRUE (button->getToggleState());
    EXPECT_TRUE (sameColour (centreColour(), juce::Colours::blue));

    click (*button);
    EXPECT_FALSE (button->getToggleState());
    EXPECT_TRUE (sameColour (centreColour(), juce::Colours::red));

    button->setLookAndFeel (nullptr);
}

TEST (ToolkitFactory, KnobIsARangedRotaryWithoutTextBoxOrFocus)
{
    std::unique_ptr<oskv::OskvKnob> knob (oskv::UIControlFactory::createRegularKnob (juce::Colour (0xffd8504d)));

    EXPECT_TRUE (knob->parameterID.isEmpty());
    EXPECT_FALSE (knob->assignRequested);
    EXPECT_FALSE (knob->clearRequested);
    EXPECT_EQ (knob->getSliderStyle(), juce::Slider::RotaryVerticalDrag);
    EXPECT_DOUBLE_EQ (knob->getMinimum(), 0.0);
    EXPECT_DOUBLE_EQ (knob->getMaximum(), 1.0);
    EXPECT_DOUBLE_EQ (knob->getInterval(), 0.001);
    EXPECT_EQ (knob->getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_TRUE (knob->isTextBoxEditable() == false);
    EXPECT_EQ (knob->getTextBoxWidth(), 0);
    EXPECT_EQ (knob->getTextBoxHeight(), 0);
    EXPECT_EQ (knob->findColour (juce::Slider::backgroundColourId).getAlpha(), 0);
    EXPECT_EQ (knob->findColour (juce::Slider::rotarySliderFillColourId), juce::Colour (0xffd8504d));
    EXPECT_FALSE (knob->getWantsKeyboardFocus());
    EXPECT_NE (knob->getCachedComponentImage(), nullptr);

    const auto params = knob->getRotaryParameters();
    EXPECT_FLOAT_EQ (params.startAngleRadians, juce::MathConstants<float>::pi * 1.2f);
    EXPECT_FLOAT_EQ (params.endAngleRadians, juce::MathConstants<float>::pi * 2.8f);
    EXPECT_TRUE (params.stopAtEnd);
}

//==============================================================================
namespace
{
// A 2:1 picture: a red rectangle 100 x 50.
const char wideSvg[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="50" viewBox="0 0 100 50">)"
                       R"(<rect x="0" y="0" width="100" height="50" fill="#ff0000"/></svg>)";

juce::Image paintLogo (oskv::LogoComponent& logo)
{
    return render (logo.getWidth(), logo.getHeight(), [&logo] (juce::Graphics& g) { logo.paint (g); });
}
} // namespace

TEST (ToolkitLogo, StartsCentredOpaqueAndNotOpaqueComponent)
{
    oskv::LogoComponent logo (wideSvg, sizeof (wideSvg) - 1);
    EXPECT_NE (logo.drawable, nullptr);
    EXPECT_EQ (logo.alignment, 2);
    EXPECT_FLOAT_EQ (logo.opacity, 1.0f);
    EXPECT_FALSE (logo.isOpaque());
}

TEST (ToolkitLogo, WideComponentPlacesThePictureByAlignment)
{
    oskv::LogoComponent logo (wideSvg, sizeof (wideSvg) - 1);
    logo.setBounds (0, 0, 200, 50);

    // Full height means 100 wide: centred spans 50..150.
    auto image = paintLogo (logo);
    EXPECT_EQ (image.getPixelAt (10, 25).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (60, 25), juce::Colours::red));
    EXPECT_TRUE (sameColour (image.getPixelAt (140, 25), juce::Colours::red));
    EXPECT_EQ (image.getPixelAt (190, 25).getAlpha(), 0);

    logo.alignment = 0;
    image = paintLogo (logo);
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 25), juce::Colours::red));
    EXPECT_TRUE (sameColour (image.getPixelAt (99, 25), juce::Colours::red));
    EXPECT_EQ (image.getPixelAt (101, 25).getAlpha(), 0);

    logo.alignment = 1;
    image = paintLogo (logo);
    EXPECT_EQ (image.getPixelAt (98, 25).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 25), juce::Colours::red));
    EXPECT_TRUE (sameColour (image.getPixelAt (199, 25), juce::Colours::red));
}

TEST (ToolkitLogo, TallComponentShowsThePictureAtFullWidthVerticallyCentred)
{
    oskv::LogoComponent logo (wideSvg, sizeof (wideSvg) - 1);
    logo.setBounds (0, 0, 100, 150);

    // 100 wide means 50 high, centred: rows 50..100.
    const auto image = paintLogo (logo);
    EXPECT_EQ (image.getPixelAt (50, 45).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 51), juce::Colours::red));
    EXPECT_TRUE (sameColour (image.getPixelAt (99, 98), juce::Colours::red));
    EXPECT_EQ (image.getPixelAt (50, 105).getAlpha(), 0);
}

TEST (ToolkitLogo, UnreadableDataPaintsNothing)
{
    const char notAnImage[] = "definitely not an image";
    oskv::LogoComponent logo (notAnImage, sizeof (notAnImage));
    logo.setBounds (0, 0, 40, 40);

    EXPECT_EQ (logo.drawable, nullptr);
    EXPECT_TRUE (toolkit_test::isBlank (paintLogo (logo)));

    oskv::LogoComponent empty (nullptr, 0);
    empty.setBounds (0, 0, 40, 40);
    EXPECT_TRUE (toolkit_test::isBlank (paintLogo (empty)));
}
