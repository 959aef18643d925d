#include "AllPassFilterCascade.h"

#include <cmath>

AllPassFilterCascade::AllPassFilterCascade (const double* coefficients, int count)
{
    sections.resize ((size_t) count);

    for (int i = 0; i < count; ++i)
        sections[(size_t) i].a = coefficients[i];
}

void AllPassFilterCascade::reset() noexcept
{
    for (auto& s : sections)
        s.x0 = s.x1 = s.x2 = s.y0 = s.y1 = s.y2 = 0.0;
}

bool AllPassFilterCascade::hasFiniteState() const noexcept
{
    for (const auto& s : sections)
        if (! (std::isfinite (s.x0) && std::isfinite (s.x1) && std::isfinite (s.x2)
               && std::isfinite (s.y0) && std::isfinite (s.y1) && std::isfinite (s.y2)))
            return false;

    return true;
}
