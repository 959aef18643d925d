#pragma once

#include <vector>

namespace oskv
{
/** One single-cycle waveform. */
template <typename SampleType>
struct Wavetable
{
    std::vector<SampleType> table;
};
} // namespace oskv
