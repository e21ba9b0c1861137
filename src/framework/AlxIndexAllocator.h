#pragma once

// Hands out parameter indices: next, then next + step, ... Host-visible parameters take
// 0, 1, 2, ...; internal ones -1, -2, ...
class AlxIndexAllocator
{
public:
    AlxIndexAllocator (int first, int step_) : next (first), step (step_) {}

    int take() noexcept
    {
        const int index = next;
        next += step;
        return index;
    }

    int peek() const noexcept { return next; }

private:
    int next, step;
};
