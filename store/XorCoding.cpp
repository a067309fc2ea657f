#include "store/XorCoding.h"

#include <array>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

constexpr std::array<std::uint8_t, 256> MakeDigitTable() {
    std::array<std::uint8_t, 256> t{};
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) t[c] = static_cast<std::uint8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) t[c] = static_cast<std::uint8_t>(c - 'a' + 10);
    return t;
}
constexpr auto kDigit = MakeDigitTable();

}  // namespace

std::string EncodeText(std::string_view text) {
    std::string out(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) ^ kCodingKey);
        out[2 * i] = kHex[b >> 4];
        out[2 * i + 1] = kHex[b & 15];
    }
    return out;
}

std::string DecodeText(std::string_view text) {
    const std::size_t n = text.size() / 2;
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t hi = kDigit[static_cast<std::uint8_t>(text[2 * i])];
        const std::uint8_t lo = kDigit[static_cast<std::uint8_t>(text[2 * i + 1])];
        out[i] = static_cast<char>(static_cast<std::uint8_t>((hi << 4) | lo) ^ kCodingKey);
    }
    return out;
}

std::string XorText(std::string_view text, std::uint8_t key) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key);
    return out;
}

std::string ByteToHex(std::uint8_t value) { return {kHex[value >> 4], kHex[value & 15]}; }

std::uint8_t HexToByte(std::string_view digits) {
    if (digits.empty() || digits.size() > 2) return 0;
    unsigned v = 0;
    for (char c : digits) v = v * 16 + kDigit[static_cast<std::uint8_t>(c)];
    return static_cast<std::uint8_t>(v);
}
