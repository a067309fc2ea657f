#include "lang/Progress.h"

#include <algorithm>

#include "lang/Rounding.h"

namespace lang {
namespace {

class CountingProgress : public IProgress {
public:
    explicit CountingProgress(int steps) : counter_(steps) {}
    void Step() override { counter_.Step(); }

private:
    TProgressCounter counter_;
};

ProgressFactory& FactorySlot() {
    static ProgressFactory factory;
    return factory;
}

}  // namespace

TProgressCounter::TProgressCounter(int steps) : steps_(std::max(1, steps)) {}

int TProgressCounter::Step() {
    position_ = std::min(position_ + 1, steps_);
    return Percent();
}

int TProgressCounter::Percent() const { return static_cast<int>(RoundHalfEven(std::int64_t{position_} * 100, steps_)); }

void SetProgressFactory(ProgressFactory factory) { FactorySlot() = std::move(factory); }

std::unique_ptr<IProgress> MakeProgress(int steps) {
    if (const ProgressFactory& factory = FactorySlot()) {
        if (auto progress = factory(steps)) return progress;
    }
    return std::make_unique<CountingProgress>(steps);
}

}  // namespace lang
