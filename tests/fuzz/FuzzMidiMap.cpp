// MIDI map XML: any text that parses, given to CCMapper::loadMapFromXml, then a block of
// every controller through whatever map resulted.

#include "FuzzSupport.h"
#include "services/StateXml.h"

namespace
{
void fuzzOne (const std::uint8_t* data, std::size_t size)
{
    auto& p = fuzz_support::processor();
    juce::String text;

    if (! oskv::StateXml::decodeUtf8 (data, size, text))
        return;

    if (auto xml = oskv::StateXml::parseDocument (text))
        p.ccMapper.loadMapFromXml (*xml);

    static const juce::MidiBuffer everyController = []
    {
        juce::MidiBuffer midi;

        for (int controller = 0; controller < 128; ++controller)
            midi.addEvent (juce::MidiMessage::controllerEvent (1, controller, (controller * 37) % 128), controller);

        return midi;
    }();

    p.ccMapper.handleControllerChanges (everyController);
    fuzz_support::checkParameters (p);

    if (p.ccMapper.createMapXml() == nullptr)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    return fuzz_support::runInput ([data, size] { fuzzOne (data, size); });
}
