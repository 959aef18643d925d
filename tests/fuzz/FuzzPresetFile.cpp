// Preset files: any bytes in a file given to PresetsManager::loadPreset, then the remap
// that loads from the preset bar apply.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& p = fuzz_support::processor();
    static const auto file = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile ("fuzz.sbxp");

    if (! file.replaceWithData (data, size))
        return 0;

    p.loadPresetFile (file);
    fuzz_support::checkParameters (p);
    return 0;
}
