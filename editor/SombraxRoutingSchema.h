#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The signal chain's order in the top bar: filter then distortion, or the other way round.
    A passive picture; the main component's timer sets `post` and repaints it. */
class SombraxRoutingSchema : public juce::Component
{
public:
    SombraxRoutingSchema();
    ~SombraxRoutingSchema() override;

    void paint (juce::Graphics& g) override;

    bool post = false;
    std::unique_ptr<juce::Drawable> preImage;
    std::unique_ptr<juce::Drawable> postImage;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SombraxRoutingSchema)
};
