// Preset files: any bytes in a file given to PresetsManager::loadPreset, then the remap
// that loads from the preset bar apply.

#include "FuzzSupport.h"

namespace
{
void fuzzOne (const std::uint8_t* data, std::size_t size)
{
    auto& p = fuzz_support::processor();
    static const auto file = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile ("fuzz.sbxp");

    if (! file.replaceWithData (data, size))
        return;

    p.loadPresetFile (file);
    fuzz_support::checkParameters (p);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    return fuzz_support::runInput ([data, size] { fuzzOne (data, size); });
}
