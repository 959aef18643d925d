#include "ParameterLink.h"

#include "services/ParameterChange.h"

namespace oskv
{
ParameterLink::ParameterLink (juce::AudioProcessorParameter* parameterToLink,
                              const juce::NormalisableRange<float>& rangeOfParameter)
    : parameter (parameterToLink),
      range (rangeOfParameter),
      isAbletonLive (juce::PluginHostType().isAbletonLive())
{
}

void ParameterLink::updateIntParameter (int value)
{
    if (parameter == nullptr || ! (range.end > range.start))
        return;

    // Clamped into the range first: out-of-range integers land on its ends.
    const auto normalised = range.convertTo0to1 (juce::jlimit (range.start, range.end, (float) value));

    setParameterAsUserChange (*parameter, normalised, ! isAbletonLive);
}
} // namespace oskv
