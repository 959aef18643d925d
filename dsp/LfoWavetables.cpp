#include "LfoWavetables.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace oskv
{
void appendLfoWavetables (std::vector<Wavetable<float>>& tables)
{
    constexpr int L = lfoTableLength;
    auto makeTable = [&] (auto valueAt)
    {
        Wavetable<float> w;
        w.table.resize ((size_t) L);
        for (int i = 0; i < L; ++i)
            w.table[(size_t) i] = (float) valueAt (i);
        tables.push_back (std::move (w));
    };

    makeTable ([] (int i) { return std::sin ((double) (float) i * 0.006135923151542565); });
    makeTable ([] (int i) { return i < 512 ? 1.0 : -1.0; });
    makeTable ([] (int i) { return 2.0 * (double) ((float) i * 0.0009765625f) - 1.0; });
    makeTable ([] (int i) { return 2.0 * (1.0 - (double) ((float) i * 0.0009765625f)) - 1.0; });
    makeTable ([] (int i)
               {
                   if (i <= 511)
                       return 2.0 * (double) ((float) i * 0.001953125f) - 1.0;

                   return 2.0 * (1.0 - (double) (((float) i - 512.0f) * 0.001953125f)) - 1.0;
               });

    juce::Random random;
    makeTable ([&random] (int) { return 2.0 * random.nextDouble() - 1.0; });

    // Smooth random: 64 anchors, then straight runs of 16 steps from each anchor toward
    // the next one; the last run heads back to the first anchor so the cycle is seamless.
    juce::Random smoothRandom;
    Wavetable<float> smooth;
    auto& t = smooth.table;
    t.assign ((size_t) L, 0.0f);

    for (int i = 0; i < L; i += 16)
        t[(size_t) i] = (float) (2.0 * smoothRandom.nextDouble() - 1.0);

    float inc = 0.0f;
    for (int i = 0; i < L; ++i)
    {
        if (i % 16 == 0)
        {
            const int j = (i == L - 16) ? 0 : i + 16;
            inc = (t[(size_t) j] - t[(size_t) i]) * 0.0625f;
        }
        else
        {
            t[(size_t) i] = t[(size_t) i - 1] + inc;
        }
    }

    tables.push_back (std::move (smooth));
}
} // namespace oskv
