#pragma once

#include "synth/AlxWavetable.h"

#include <cmath>

// The harmonic profiles evaluated at every bin, exactly as they are defined: the reference the
// windowed evaluation must match bit for bit, and the cost it saves (used by tests and benchmarks).
namespace AlxFullWalkProfile
{
    inline void add (int N, int rate, float f0, float bw, float bwScale, float relF, int count, const float* weights,
                     float* sum)
    {
        for (int i = 1; i < count; ++i)
        {
            const float rel = (float) i * (1.0f + relF * (float) i);
            const float bwHz = (std::pow (2.0f, bw / 1200.0f) - 1.0f) * f0 * std::pow (rel, bwScale);
            const float bwi = bwHz / (2.0f * (float) rate);
            const float fi = rel * f0 / (float) rate;

            for (int j = 0; j < N / 2; ++j)
            {
                const float x = ((float) j / (float) N - fi) / bwi;
                const float x2 = x * x;
                const float profile = x2 > AlxWavetable::profileCutoff ? 0.0f : std::exp (-x2) / bwi;
                sum[j] += profile * weights[i];
            }
        }
    }
}
