#include "editor/MainComponent.h"

// Placeholders, filled by the preset bar work: the buttons report here and nothing happens yet.

void MainComponent::buttonClicked (juce::Button*)
{
}

juce::StringArray MainComponent::createPresetNamesArray()
{
    return {};
}

void MainComponent::loadPreset (juce::StringArray, int)
{
}
