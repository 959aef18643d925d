#include "HalfBandFilter.h"

#include <cmath>

namespace
{
// Order-8 steep design; the only one this plug-in uses.
constexpr double coefficientsA[] = { 0.07711507983241622, 0.4820706250610472, 0.7968204713315797, 0.9412514277740471 };
constexpr double coefficientsB[] = { 0.2659685265210946, 0.6651041532634957, 0.8841015085506159, 0.9820054141886075 };
} // namespace

HalfBandFilter::HalfBandFilter (int /*order*/, bool /*steep*/)
    : filterA (std::make_unique<AllPassFilterCascade> (coefficientsA, 4)),
      filterB (std::make_unique<AllPassFilterCascade> (coefficientsB, 4))
{
}

void HalfBandFilter::reset() noexcept
{
    filterA->reset();
    filterB->reset();
    oldOut = 0.0;
}

bool HalfBandFilter::hasFiniteState() const noexcept
{
    return std::isfinite (oldOut) && filterA->hasFiniteState() && filterB->hasFiniteState();
}
