// Host state chunks: any bytes handed to setStateInformation.

#include "FuzzSupport.h"

#include <limits>

namespace
{
void fuzzOne (const std::uint8_t* data, std::size_t size)
{
    auto& p = fuzz_support::processor();

    p.setStateInformation (data, (int) juce::jmin (size, (std::size_t) std::numeric_limits<int>::max()));
    fuzz_support::checkParameters (p);

    // Whatever was taken in can be written out and read back.
    juce::MemoryBlock chunk;
    p.getStateInformation (chunk);

    if (chunk.getSize() < 9)
        std::abort();

    p.setStateInformation (chunk.getData(), (int) chunk.getSize());
    fuzz_support::checkParameters (p);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    return fuzz_support::runInput ([data, size] { fuzzOne (data, size); });
}
