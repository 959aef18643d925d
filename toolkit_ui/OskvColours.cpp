#include "OskvColours.h"

namespace oskv
{
const juce::Colour OskvColours::blue       { 0xff1c91ab };
const juce::Colour OskvColours::green      { 0xff199143 };
const juce::Colour OskvColours::yellow     { 0xffccb51f };
const juce::Colour OskvColours::red        { 0xffd8504d };
const juce::Colour OskvColours::orange     { 0xffc67624 };
const juce::Colour OskvColours::lime       { 0xff96ca30 };
const juce::Colour OskvColours::teal       { 0xff4bc89a };
const juce::Colour OskvColours::pink       { 0xffdd42c2 };
const juce::Colour OskvColours::purple     { 0xff9731c2 };
const juce::Colour OskvColours::grey       { 0xff303030 };
const juce::Colour OskvColours::dark_grey  { 0xff272727 };
const juce::Colour OskvColours::light_grey { 0xffbdbdbd };
} // namespace oskv
