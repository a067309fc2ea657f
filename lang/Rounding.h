#pragma once
#include <cstdint>

namespace lang {

// num / den rounded to the nearest integer, halves to the even neighbour, computed exactly in
// integers; den must not be 0.
constexpr std::int64_t RoundHalfEven(std::int64_t num, std::int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {   // floor division
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && q % 2 != 0)) q += 1;
    return q;
}

}  // namespace lang
