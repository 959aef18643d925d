#include "LogoComponent.h"

namespace oskv
{
LogoComponent::LogoComponent (const void* data, size_t size)
{
    if (data != nullptr && size > 0)
        drawable = juce::Drawable::createFromImageData (data, size);

    setOpaque (false);
}

LogoComponent::~LogoComponent() = default;

void LogoComponent::paint (juce::Graphics& g)
{
    // Unreadable data leaves the component empty rather than failing.
    if (drawable == nullptr)
        return;

    const auto source = drawable->getDrawableBounds();

    if (source.isEmpty() || getWidth() <= 0 || getHeight() <= 0)
        return;

    juce::RectanglePlacement placement (juce::RectanglePlacement::centred);

    if (alignment == alignLeft)
        placement = juce::RectanglePlacement (juce::RectanglePlacement::xLeft | juce::RectanglePlacement::yMid);
    else if (alignment == alignRight)
        placement = juce::RectanglePlacement (juce::RectanglePlacement::xRight | juce::RectanglePlacement::yMid);

    const auto transform = placement.getTransformToFit (source, getLocalBounds().toFloat());
    drawable->draw (g, opacity, transform);
}

void LogoComponent::resized()
{
    // Nothing to lay out: the picture is fitted anew on every paint.
}
} // namespace oskv
