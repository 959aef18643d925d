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

    /** Runs one input through every section in order; inline because it runs
        eight times per sample and channel in the distortion. */
    double process (double input) noexcept
    {
        for (auto& s : sections)
        {
            s.x2 = s.x1;
            s.x1 = s.x0;
            s.x0 = input;
            s.y2 = s.y1;
            s.y1 = s.y0;
            const double out = s.x2 + (input - s.y2) * s.a;
            s.y0 = out;
            input = out;
        }

        return input;
    }

    /** Clears every section's memory; the coefficients stay. */
    void reset() noexcept;

    /** False once a NaN or infinity has got into any section's memory. */
    bool hasFiniteState() const noexcept;

    std::vector<AllPassSection> sections;
};
