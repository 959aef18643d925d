#include "AllPassFilterCascade.h"

AllPassFilterCascade::AllPassFilterCascade (const double* coefficients, int count)
{
    sections.resize ((size_t) count);

    for (int i = 0; i < count; ++i)
        sections[(size_t) i].a = coefficients[i];
}

double AllPassFilterCascade::process (double input)
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
