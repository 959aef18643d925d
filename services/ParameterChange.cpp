#include "ParameterChange.h"

namespace oskv
{
void setParameterAsUserChange (juce::AudioProcessorParameter& parameter, float normalisedValue, bool withGesture)
{
    if (withGesture)
        parameter.beginChangeGesture();

    parameter.setValueNotifyingHost (normalisedValue);

    if (withGesture)
        parameter.endChangeGesture();
}
} // namespace oskv
