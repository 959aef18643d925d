#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace oskv
{
/** The toolkit's main look: dark flat surfaces, one embedded typeface for every font,
    and knobs drawn from two vector images with a coloured value wedge and a pointer. */
class VXLook : public juce::LookAndFeel_V2
{
public:
    VXLook();
    ~VXLook() override;

    //==============================================================================
    void drawScrollbar (juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;
    int getDefaultScrollbarWidth() override;
    int getScrollbarButtonSize (juce::ScrollBar& scrollbar) override;

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button,
                         bool isMouseOverButton, bool isButtonDown) override;

    void drawTreeviewPlusMinusBox (juce::Graphics& g, const juce::Rectangle<float>& area,
                                   juce::Colour backgroundColour, bool isOpen, bool isMouseOver) override;

    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;
    juce::Font getPopupMenuFont() override;
    void drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height, bool isScrollUpArrow) override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;

    void drawLabel (juce::Graphics& g, juce::Label& label) override;

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height,
                                float sliderPos, float minSliderPos, float maxSliderPos,
                                juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider& slider) override;
    juce::Label* createSliderTextBox (juce::Slider& slider) override;

    void drawTabButton (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown) override;
    void drawTabButtonText (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown) override;
    void drawTabbedButtonBarBackground (juce::TabbedButtonBar& bar, juce::Graphics& g) override;
    void drawTabAreaBehindFrontButton (juce::TabbedButtonBar& bar, juce::Graphics& g, int w, int h) override;
    void createTabButtonShape (juce::TabBarButton& button, juce::Path& path, bool isMouseOver, bool isMouseDown) override;
    void fillTabButtonShape (juce::TabBarButton& button, juce::Graphics& g, const juce::Path& path,
                             bool isMouseOver, bool isMouseDown) override;

    /** The linear bar fill: a plain rectangle. Corner size, stroke and flat edges are
        accepted for the framework's signature but not used. */
    static void drawShinyButtonShape (juce::Graphics& g, float x, float y, float w, float h, float maxCornerSize,
                                      const juce::Colour& baseColour, float strokeWidth,
                                      bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom);

    //==============================================================================
    /** The slider's value box: a dark fill under the label, and the mouse wheel stops here. */
    class SliderLabelComp : public juce::Label
    {
    public:
        SliderLabelComp();

        void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
        void paint (juce::Graphics& g) override;
    };

    //==============================================================================
    juce::Typeface::Ptr typeface;
    std::unique_ptr<juce::Drawable> knobBack;
    std::unique_ptr<juce::Drawable> knobFront;
    float uiScale = 1.0f;
    float* uiScaleSource = nullptr;

protected:
    /** The font scale that `uiScaleSource` points at. */
    float getScale() const;

    /** The slider's value as a proportion of its length, 0..1. */
    static float getValueProportion (juce::Slider& slider);

    /** The body, the cap and the pointer of a knob; the value arc between them is the
        caller's, so the bipolar look can start it elsewhere. */
    struct KnobGeometry
    {
        float radius = 0.0f;
        float centreX = 0.0f;
        float centreY = 0.0f;
        float angle = 0.0f;
        juce::Rectangle<float> box;
        juce::Colour baseColour;
        juce::Colour arcColour;
    };

    static KnobGeometry getKnobGeometry (int x, int y, int width, int height, float sliderPos,
                                         float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider);
    void drawKnobBody (juce::Graphics& g, const KnobGeometry& knob) const;
    static void fillKnobArc (juce::Graphics& g, const KnobGeometry& knob, float fromAngle, float toAngle);
    void drawKnobCapAndPointer (juce::Graphics& g, const KnobGeometry& knob) const;

    /** The track in its colour at the brightness of the value's proportion. */
    static void fillTrack (juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider);

    /** The gloss and the double outline over a horizontal track. */
    static void drawHorizontalTrackGlossAndOutline (juce::Graphics& g, int x, int y, int width, int height);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VXLook)
};
} // namespace oskv
