#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The coding of the data file, the exchange text file and the coded XML export: every byte
// XOR-ed with one key, then written as two upper-case hexadecimal digits.
constexpr std::uint8_t kCodingKey = 0xA7;

std::string EncodeText(std::string_view text);
// Never fails: an odd last character is dropped; a character that is not a hex digit counts as 0
// (lower-case digits are read as upper-case ones).
std::string DecodeText(std::string_view text);
// The decoded text when every character is a hex digit (the last one of an odd count too);
// nullopt otherwise. One pass over the text.
std::optional<std::string> DecodeIfHex(std::string_view text);
std::string XorText(std::string_view text, std::uint8_t key);
std::string ByteToHex(std::uint8_t value);
// One or two hex digits read left to right; 0 for an empty text or one longer than two.
std::uint8_t HexToByte(std::string_view digits);
