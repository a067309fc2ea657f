#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The state of a main-window command as its setters take it: leave it, enable it, disable it.
enum : std::uint8_t { csLeave = 0, csEnable = 1, csDisable = 2 };

// 1 (enable) for true, 2 (disable) for false.
std::uint8_t CommandState(bool flag);
// True only for 1; "leave" and "disable" both give false.
bool CommandStateEnabled(std::uint8_t state);

// The bytes of s from position from to position to, both counted from 1 and both included;
// empty when to < from. Positions outside s are clipped to it.
std::string CopyRange(std::string_view s, int from, int to);

// The extension of the file-name part (after the last "/"): from its last "." to the end, the dot
// included; empty when that part has no ".".
std::string_view FileExtOf(std::string_view fileName);

// fileName with the extension ext (given without its dot): ".ext" is appended unless the name's
// own extension is exactly "." + ext in lower case; an extension of another spelling stays and the
// new one follows it. Only "/" separates folders.
std::string EnsureFileExt(std::string_view fileName, std::string_view ext);
