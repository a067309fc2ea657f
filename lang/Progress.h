#pragma once
#include <functional>
#include <memory>

namespace lang {

// What long loops step: the store, the report writer and the converters take their progress
// through this, so that they run without a window in tests.
class IProgress {
public:
    virtual ~IProgress() = default;
    // One step of the work done.
    virtual void Step() = 0;
};

// The count behind every progress display: Steps make 100 per cent, Position never passes Steps.
// Fewer than 1 step count as 1, so no step count divides by zero.
class TProgressCounter {
public:
    explicit TProgressCounter(int steps);
    // One step further; returns the new percentage.
    int Step();
    int Steps() const { return steps_; }
    int Position() const { return position_; }
    // Position * 100 / Steps rounded to the nearest integer, halves to the even neighbour.
    int Percent() const;

private:
    int steps_;
    int position_ = 0;
};

// Makes the progress object of a loop of the given number of steps.
using ProgressFactory = std::function<std::unique_ptr<IProgress>(int steps)>;

// The program installs the factory of its progress window; without one (tests, programs without
// windows) MakeProgress gives an object that only counts.
void SetProgressFactory(ProgressFactory factory);
std::unique_ptr<IProgress> MakeProgress(int steps);

}  // namespace lang
