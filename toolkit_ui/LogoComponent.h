#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace oskv
{
/** Shows one picture given as image data (SVG or any format the framework reads), fitted
    inside the component with its aspect ratio kept. */
class LogoComponent : public juce::Component
{
public:
    enum Alignment
    {
        alignLeft = 0,
        alignRight = 1,
        alignCentre = 2
    };

    LogoComponent (const void* data, size_t size);
    ~LogoComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    std::unique_ptr<juce::Drawable> drawable;
    int alignment = alignCentre;
    float opacity = 1.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LogoComponent)
};
} // namespace oskv
