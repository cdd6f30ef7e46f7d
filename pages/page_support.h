// Small helpers shared by the page handlers.
#pragma once

#include <initializer_list>

// Pages run every query or instruction and report the first failure in
// slot order, or 0.
template<typename Results>
int firstFailure(const Results &results)
{
    for (int r : results) {
        if (r != 0)
            return r;
    }
    return 0;
}

inline int firstFailure(std::initializer_list<int> results)
{
    return firstFailure<std::initializer_list<int>>(results);
}
