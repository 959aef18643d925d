#include "ParameterChange.h"

namespace oskv
{
namespace
{
    template <typename Change>
    void asUserChange (juce::AudioProcessorParameter& parameter, bool withGesture, Change&& change)
    {
        if (withGesture)
            parameter.beginChangeGesture();

        change();

        if (withGesture)
            parameter.endChangeGesture();
    }
} // namespace

void setParameterAsUserChange (juce::AudioProcessorParameter& parameter, float normalisedValue, bool withGesture)
{
    asUserChange (parameter, withGesture, [&] { parameter.setValueNotifyingHost (normalisedValue); });
}

void announceParameterValue (juce::AudioProcessorParameter& parameter, bool withGesture)
{
    asUserChange (parameter, withGesture, [&] { parameter.sendValueChangedMessageToListeners (parameter.getValue()); });
}
} // namespace oskv
