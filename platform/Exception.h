#pragma once
#include <stdexcept>
#include <string>

// The base of every failure the program raises; its text is what the user sees.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    std::string Message() const { return what(); }
};
