#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <functional>
#include <memory>

namespace toolkit_test
{
/** A transparent image with whatever `draw` paints into it. */
inline juce::Image render (int width, int height, const std::function<void (juce::Graphics&)>& draw)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    draw (g);
    return image;
}

inline bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}

inline bool sameColour (juce::Colour actual, juce::Colour expected, int tolerance = 2)
{
    return std::abs ((int) actual.getAlpha() - (int) expected.getAlpha()) <= tolerance
        && std::abs ((int) actual.getRed() - (int) expected.getRed()) <= tolerance
        && std::abs ((int) actual.getGreen() - (int) expected.getGreen()) <= tolerance
        && std::abs ((int) actual.getBlue() - (int) expected.getBlue()) <= tolerance;
}

/** The pixel at `radius` from (cx, cy) in the direction of `angle` (0 at twelve o'clock,
    clockwise), as the rotary drawing measures angles. */
inline juce::Colour pixelAtAngle (const juce::Image& image, float cx, float cy, float angle, float radius)
{
    const auto px = cx + radius * std::sin (angle);
    const auto py = cy - radius * std::cos (angle);
    return image.getPixelAt ((int) std::floor (px), (int) std::floor (py));
}

//==============================================================================
/** The factory knobs' rotary travel, the framework's default. */
constexpr float knobStartAngle = 1.2f * juce::MathConstants<float>::pi;
constexpr float knobEndAngle = 2.8f * juce::MathConstants<float>::pi;

/** A knob-drawing look without its two knob images, so the value arc and the pointer are
    alone on the image. */
template <typename Look>
struct BareKnobLook : Look
{
    BareKnobLook()
    {
        this->knobBack.reset();
        this->knobFront.reset();
    }
};

inline juce::Image drawKnob (juce::LookAndFeel& look, juce::Slider& slider, int width, int height, float sliderPos)
{
    return render (width, height, [&] (juce::Graphics& g)
    {
        look.drawRotarySlider (g, 0, 0, width, height, sliderPos, knobStartAngle, knobEndAngle, slider);
    });
}

//==============================================================================
/** Linear-slider colours that the track tests tell apart by their channels. */
inline const juce::Colour trackColour (0xff4080c0);
inline const juce::Colour thumbColour (0xffd8504d);

/** A 0..1 slider of the style, in the colours above on a transparent background. */
inline void dressLinearSlider (juce::Slider& slider, juce::Slider::SliderStyle style)
{
    slider.setSliderStyle (style);
    slider.setRange (0.0, 1.0);
    slider.setColour (juce::Slider::backgroundColourId, juce::Colours::transparentBlack);
    slider.setColour (juce::Slider::trackColourId, trackColour);
    slider.setColour (juce::Slider::thumbColourId, thumbColour);
}

//==============================================================================
inline juce::MouseEvent makeMouseDown (juce::Component& component, juce::ModifierKeys modifiers,
                                       juce::Point<float> position = { 10.0f, 10.0f })
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position,
                             modifiers.withFlags (juce::ModifierKeys::leftButtonModifier),
                             juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation,
                             juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY,
                             &component, &component, now, position, now, 1, false);
}

//==============================================================================
/** Just enough of a processor to own a parameter state with parameters of the product's
    shapes: a percentage, the wave choice and an on/off switch. */
class TinyProcessor : public juce::AudioProcessor
{
public:
    TinyProcessor()
        : parameters (*this, &undoManager, "Sombrax", createLayout())
    {
    }

    static juce::AudioProcessorValueTreeState::ParameterLayout createLayout()
    {
        juce::AudioProcessorValueTreeState::ParameterLayout layout;
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { "drive", 1 }, "Drive",
                                                                 juce::NormalisableRange<float> (0.0f, 100.0f, 0.01f), 0.0f));
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { "lfo_wave", 1 }, "LFO Wave",
                                                                 juce::NormalisableRange<float> (0.0f, 6.0f, 1.0f), 0.0f));
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { "filter_active", 1 }, "Filter Active",
                                                                 juce::NormalisableRange<float> (0.0f, 1.0f, 1.0f), 1.0f));
        return layout;
    }

    const juce::String getName() const override { return "Tiny"; }
    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    using juce::AudioProcessor::processBlock;
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

    juce::UndoManager undoManager;
    juce::AudioProcessorValueTreeState parameters;
};
} // namespace toolkit_test
