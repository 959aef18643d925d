#pragma once

#include <juce_graphics/juce_graphics.h>

/** Every size and position of the editor, in the logical 700 x 400 space that the editor
    window scales to its real size. Filled once by the constructor; nothing changes it later. */
struct SombraxLayout
{
    SombraxLayout();

    int width;
    int height;
    int topBarHeight;
    int bottomBarHeight;
    int margin;
    int knobSize;
    int sectionTitleHeight;

    juce::Rectangle<int> bounds;
    juce::Rectangle<int> topBarArea;
    juce::Rectangle<int> bottomBarArea;
    juce::Rectangle<int> filterSectionArea;
    juce::Rectangle<int> filterTitleArea;
    juce::Rectangle<int> cutoffKnobArea;
    juce::Rectangle<int> resonanceKnobArea;
    juce::Rectangle<int> lpfGainKnobArea;
    juce::Rectangle<int> modDepthKnobArea;
    juce::Rectangle<int> hpfGainKnobArea;
    juce::Rectangle<int> bpfGainKnobArea;
    juce::Rectangle<int> lfoModeSelectorArea;
    juce::Rectangle<int> lfoRateArea;
    juce::Rectangle<int> lfoWaveSelectorArea;
    juce::Rectangle<int> notchGainKnobArea;
    juce::Rectangle<int> distortionSectionArea;
    juce::Rectangle<int> distortionTitleArea;
    juce::Rectangle<int> driveKnobArea;
    juce::Rectangle<int> shapeSliderArea;
    juce::Rectangle<int> feedbackKnobArea;
    juce::Rectangle<int> ampSectionArea;
    juce::Rectangle<int> ampTitleArea;
    juce::Rectangle<int> outGainKnobArea;
    juce::Rectangle<int> dryWetKnobArea;
    juce::Rectangle<int> levelDisplayArea;

    juce::Rectangle<int> presetBlockArea;
    int presetRowHeight;
    juce::Rectangle<int> presetUpperRowArea;
    juce::Rectangle<int> presetLowerRowArea;
    juce::Rectangle<int> presetNameArea;
    int arrowGap;
    int arrowWidth;
    juce::Rectangle<int> previousPresetArea;
    juce::Rectangle<int> nextPresetArea;
    int saveGap;
    int saveSize;
    juce::Rectangle<int> savePresetArea;
    int menuButtonSize;
    juce::Rectangle<int> menuButtonArea;
    int logoInset;
    juce::Rectangle<int> productLogoArea;
    juce::Rectangle<int> makerLogoArea;
    juce::Rectangle<int> routingSchemaArea;
};
