#include "SombraxRoutingSchema.h"

#include <SombraxBinaryData.h>

SombraxRoutingSchema::SombraxRoutingSchema()
    : preImage (juce::Drawable::createFromImageData (SombraxBinaryData::Routing_Pre_svg,
                                                     (size_t) SombraxBinaryData::Routing_Pre_svgSize)),
      postImage (juce::Drawable::createFromImageData (SombraxBinaryData::Routing_Post_svg,
                                                      (size_t) SombraxBinaryData::Routing_Post_svgSize))
{
}

SombraxRoutingSchema::~SombraxRoutingSchema() = default;

void SombraxRoutingSchema::paint (juce::Graphics& g)
{
    auto* picture = post ? postImage.get() : preImage.get();

    if (picture == nullptr)
        return;

    const auto source = picture->getDrawableBounds();
    const auto target = getLocalBounds().toFloat();

    if (source.isEmpty() || target.isEmpty())
        return;

    // Centred and never stretched, whatever the window's scale.
    const juce::RectanglePlacement placement (juce::RectanglePlacement::centred);
    picture->draw (g, 1.0f, placement.getTransformToFit (source, target));
}
