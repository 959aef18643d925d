#include "SombraxLayout.h"

namespace
{
/** Moves each edge inwards; sizes never go below zero. */
juce::Rectangle<int> shrink (juce::Rectangle<int> r, int left, int top, int right, int bottom)
{
    return { r.getX() + left, r.getY() + top,
             juce::jmax (0, r.getWidth() - left - right), juce::jmax (0, r.getHeight() - top - bottom) };
}
} // namespace

SombraxLayout::SombraxLayout()
    : width (700),
      height (400),
      topBarHeight (40),
      bottomBarHeight (80),
      margin (5),
      knobSize (46),
      sectionTitleHeight (30),
      bounds (0, 0, 700, 400),
      topBarArea (0, 0, 700, 40),
      bottomBarArea (0, 320, 700, 80),
      filterSectionArea (5, 40, 345, 280),
      filterTitleArea (5, 40, 345, 30),
      cutoffKnobArea (39, 78, 46, 46),
      resonanceKnobArea (154, 78, 46, 46),
      lpfGainKnobArea (269, 78, 46, 46),
      modDepthKnobArea (100, 144, 38, 38),
      hpfGainKnobArea (269, 140, 46, 46),
      bpfGainKnobArea (269, 202, 46, 46),
      lfoModeSelectorArea (146, 218, 63, 46),
      lfoRateArea (31, 230, 63, 22),
      lfoWaveSelectorArea (31, 277, 178, 20),
      notchGainKnobArea (269, 264, 46, 46),
      distortionSectionArea (350, 40, 172, 280),
      distortionTitleArea (350, 40, 172, 30),
      driveKnobArea (413, 101, 46, 46),
      shapeSliderArea (360, 186, 152, 18),
      feedbackKnobArea (413, 234, 46, 46),
      ampSectionArea (522, 40, 172, 280),
      ampTitleArea (522, 40, 172, 30),
      outGainKnobArea (585, 101, 46, 46),
      dryWetKnobArea (585, 234, 46, 46),
      levelDisplayArea (565, 174, 86, 41)
{
    // The preset block: half the bar's width by 60, about the bar's centre.
    presetBlockArea = bottomBarArea.withSizeKeepingCentre (bottomBarArea.getWidth() / 2, 60);
    presetRowHeight = 22;
    presetUpperRowArea = presetBlockArea.withHeight (30);
    presetLowerRowArea = presetUpperRowArea.translated (0, 30);
    presetNameArea = presetUpperRowArea.withSizeKeepingCentre (bottomBarArea.getWidth() / 8 * 3, presetRowHeight);

    arrowGap = 4;
    arrowWidth = 18;
    previousPresetArea = presetNameArea.withX (presetNameArea.getX() - arrowGap - arrowWidth).withWidth (arrowWidth);
    nextPresetArea = presetNameArea.withX (presetNameArea.getRight() + arrowGap).withWidth (arrowWidth);

    saveGap = 4;
    saveSize = 22;
    savePresetArea = { presetNameArea.getRight() - saveSize, presetLowerRowArea.getY() + saveGap, saveSize, saveSize };

    menuButtonSize = 14;
    menuButtonArea = { topBarArea.getX() + 10, topBarArea.getY() + 13, menuButtonSize, juce::jmax (0, topBarArea.getHeight() - 26) };

    logoInset = 24;
    const auto leftStrip = bottomBarArea.withRight (presetBlockArea.getX());
    const auto rightStrip = bottomBarArea.withLeft (presetBlockArea.getRight());
    productLogoArea = shrink (leftStrip, logoInset, logoInset, logoInset, logoInset);
    makerLogoArea = shrink (rightStrip, logoInset, logoInset, logoInset, logoInset);

    routingSchemaArea = shrink (topBarArea.withLeft (ampSectionArea.getX()), 10, 14, 10, 14);
}
