#include "store/XorCoding.h"

#include <algorithm>
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

constexpr std::array<std::uint8_t, 256> MakeNotDigitTable() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = 1;
    for (const char* d = "0123456789ABCDEFabcdef"; *d; ++d) t[static_cast<std::uint8_t>(*d)] = 0;
    return t;
}
constexpr auto kNotDigit = MakeNotDigitTable();

// The two coded characters of every plain byte, and the plain byte of every pair of characters.
struct CodeTables {
    char pairs[256][2];
    std::uint8_t plain[256][256];
    CodeTables() {
        for (int b = 0; b < 256; ++b) {
            const int c = b ^ kCodingKey;
            pairs[b][0] = kHex[c >> 4];
            pairs[b][1] = kHex[c & 15];
        }
        for (int h = 0; h < 256; ++h)
            for (int l = 0; l < 256; ++l)
                plain[h][l] = static_cast<std::uint8_t>(((kDigit[h] << 4) | kDigit[l]) ^ kCodingKey);
    }
};

const CodeTables& Tables() {
    static const CodeTables t;
    return t;
}

}  // namespace

void EncodeInto(std::string_view text, char* o) {
    const CodeTables& t = Tables();
    for (const char c : text) {
        const char* p = t.pairs[static_cast<std::uint8_t>(c)];
        o[0] = p[0];
        o[1] = p[1];
        o += 2;
    }
}

std::string EncodeText(std::string_view text) {
    std::string out;
    out.reserve(2 * text.size());
    EncodeInPieces(text, [&](std::string_view piece) { out += piece; });
    return out;
}

bool DecodeTextAppend(std::string_view text, std::string& out) {
    const CodeTables& t = Tables();
    const std::size_t n = text.size() / 2;
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    std::uint8_t notDigit = 0;
    // Through a small buffer: the output is written once, never zero-filled first.
    char buf[16 * 1024];
    for (std::size_t done = 0; done < n;) {
        const std::size_t k = std::min(n - done, sizeof buf);
        for (std::size_t i = 0; i < k; ++i, in += 2) {
            notDigit |= kNotDigit[in[0]] | kNotDigit[in[1]];
            buf[i] = static_cast<char>(t.plain[in[0]][in[1]]);
        }
        out.append(buf, k);
        done += k;
    }
    return notDigit == 0;
}

std::string DecodeText(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2);
    DecodeTextAppend(text, out);
    return out;
}

std::optional<std::string> DecodeCodedText(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2);
    if (!DecodeTextAppend(text, out)) return std::nullopt;
    return out;
}

std::optional<std::string> DecodeIfHex(std::string_view text) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    // Most texts that are not coded say so at once.
    if (!text.empty() && kNotDigit[in[0]]) return std::nullopt;
    if (text.size() % 2 != 0 && kNotDigit[in[text.size() - 1]]) return std::nullopt;
    return DecodeCodedText(text);
}

void TDecoder::Feed(std::string_view coded) {
    if (coded.empty()) return;
    if (pending_ >= 0) {
        const char pair[2] = {static_cast<char>(pending_), coded[0]};
        allDigits_ = DecodeTextAppend(std::string_view(pair, 2), out_) && allDigits_;
        coded.remove_prefix(1);
        pending_ = -1;
    }
    allDigits_ = DecodeTextAppend(coded, out_) && allDigits_;
    if (coded.size() % 2 != 0) pending_ = static_cast<unsigned char>(coded.back());
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
