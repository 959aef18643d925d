#pragma once

#include <juce_graphics/juce_graphics.h>

namespace oskv::vxlook
{
// Palette values, written out: the looks do not read oskv::OskvColours at run time.
constexpr juce::uint32 darkGreyArgb = 0xff272727;
constexpr juce::uint32 greyArgb = 0xff303030;
constexpr juce::uint32 lightGreyArgb = 0xffbdbdbd;
constexpr juce::uint32 blueArgb = 0xff1c91ab;
} // namespace oskv::vxlook
