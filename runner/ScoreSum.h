#pragma once
#include <cstdint>
#include <vector>

// The sum of a scale's weights as a person adding them by hand gets it: every weight counts as
// the shortest decimal that reads back as it (0.1 is 0.1, not the binary value next to it), the
// decimals are added exactly, and the total is rounded once to 15 significant digits. So the
// result does not depend on the order of the terms, and weights that cancel give 0.
class TScoreSum {
public:
    void Add(double weight);
    double Value() const;

private:
    struct TTerm {
        bool Negative = false;
        std::uint64_t Digits = 0;   // at most 17 decimal digits
        int Exponent = 0;           // the term is Digits * 10^Exponent
    };
    std::vector<TTerm> terms_;
    double plain_ = 0;              // the binary sum, for totals beyond the range of a double
};
