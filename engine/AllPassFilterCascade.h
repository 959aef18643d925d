#pragma once

#include <cstddef>
#include <vector>

/** Second-order all-pass section (a + z^-2) / (1 + a z^-2). */
struct AllPassSection
{
    double a = 0.0;
    double x0 = 0.0, x1 = 0.0, x2 = 0.0;
    double y0 = 0.0, y1 = 0.0, y2 = 0.0;
};

/** A chain of all-pass sections, each feeding the next. */
class AllPassFilterCascade
{
public:
    AllPassFilterCascade (const double* coefficients, int count);

    double process (double input);

    std::vector<AllPassSection> sections;
};
