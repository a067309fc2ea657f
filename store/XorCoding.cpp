#include "store/XorCoding.h"

#include <algorithm>
#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Sixteen bytes at a time: XOR with the key, split into nibbles, each nibble to its digit.
#if defined(__SSE2__)
void EncodeWide(const char*& in, const char* end, char*& o) {
    const __m128i key = _mm_set1_epi8(static_cast<char>(kCodingKey));
    const __m128i low = _mm_set1_epi8(0x0F);
    const __m128i nine = _mm_set1_epi8(9);
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i letters = _mm_set1_epi8('A' - '0' - 10);
    const auto digits = [&](__m128i n) {
        return _mm_add_epi8(_mm_add_epi8(n, zero), _mm_and_si128(_mm_cmpgt_epi8(n, nine), letters));
    };
    for (; end - in >= 16; in += 16, o += 32) {
        const __m128i x = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), key);
        const __m128i hi = _mm_and_si128(_mm_srli_epi16(x, 4), low);
        const __m128i lo = _mm_and_si128(x, low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), digits(_mm_unpacklo_epi8(hi, lo)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), digits(_mm_unpackhi_epi8(hi, lo)));
    }
}
#else
void EncodeWide(const char*&, const char*, char*&) {}
#endif

}  // namespace

void EncodeInto(std::string_view text, char* o) {
    const CodeTables& t = Tables();
    const char* in = text.data();
    const char* const end = in + text.size();
    EncodeWide(in, end, o);
    for (; in < end; ++in, o += 2) {
        const char* p = t.pairs[static_cast<std::uint8_t>(*in)];
        o[0] = p[0];
        o[1] = p[1];
    }
}

void TEncoder::Send() {
    EncodeInPieces(std::string_view(text_).substr(sent_), put_);
    sent_ = text_.size();
}

std::string EncodeText(std::string_view text) {
    std::string out;
    out.reserve(2 * text.size());
    EncodeInPieces(text, [&](std::string_view piece) { out += piece; });
    return out;
}

namespace {

// Sixteen pairs at a time: each character to its digit's value (a character that is not a digit
// marks the result, as in the tables), the two values of a pair to a byte, the byte XOR-ed with
// the key. Returns false when a character was not a digit.
#if defined(__SSE2__)
bool DecodeWide(const std::uint8_t*& in, std::size_t& pairs, char*& o) {
    const auto splat = [](int c) { return _mm_set1_epi8(static_cast<char>(c)); };
    // x <= limit, unsigned
    const auto atMost = [](__m128i x, __m128i limit) { return _mm_cmpeq_epi8(_mm_max_epu8(x, limit), limit); };
    const __m128i zero = splat('0'), nine = splat(9), lowerA = splat('a'), five = splat(5), ten = splat(10);
    const __m128i caseBit = splat(0x20), key = splat(kCodingKey), lowByte = _mm_set1_epi16(0x00FF);
    __m128i bad = _mm_setzero_si128();
    const auto values = [&](__m128i c) {
        const __m128i d = _mm_sub_epi8(c, zero);
        const __m128i l = _mm_sub_epi8(_mm_or_si128(c, caseBit), lowerA);
        const __m128i isDigit = atMost(d, nine);
        const __m128i isLetter = atMost(l, five);
        bad = _mm_or_si128(bad, _mm_andnot_si128(_mm_or_si128(isDigit, isLetter), _mm_set1_epi8(-1)));
        return _mm_or_si128(_mm_and_si128(isDigit, d), _mm_and_si128(isLetter, _mm_add_epi8(l, ten)));
    };
    // Each 16-bit lane holds a pair: the high digit in its low byte, the low digit in its high byte.
    const auto bytes = [&](__m128i v) {
        return _mm_and_si128(_mm_or_si128(_mm_slli_epi16(v, 4), _mm_srli_epi16(v, 8)), lowByte);
    };
    for (; pairs >= 16; pairs -= 16, in += 32, o += 16) {
        const __m128i a = values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
        const __m128i b = values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_xor_si128(_mm_packus_epi16(bytes(a), bytes(b)), key));
    }
    return _mm_movemask_epi8(bad) == 0;
}
#else
bool DecodeWide(const std::uint8_t*&, std::size_t&, char*&) { return true; }
#endif

}  // namespace

bool DecodeTextAppend(std::string_view text, std::string& out) {
    const CodeTables& t = Tables();
    const std::size_t n = text.size() / 2;
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    bool digits = true;
    // Through a small buffer: the output is written once, never zero-filled first.
    char buf[16 * 1024];
    for (std::size_t done = 0; done < n;) {
        std::size_t left = std::min(n - done, sizeof buf);
        const std::size_t k = left;
        char* o = buf;
        digits = DecodeWide(in, left, o) && digits;
        std::uint8_t notDigit = 0;
        for (; left > 0; --left, in += 2) {
            notDigit |= kNotDigit[in[0]] | kNotDigit[in[1]];
            *o++ = static_cast<char>(t.plain[in[0]][in[1]]);
        }
        digits = digits && notDigit == 0;
        out.append(buf, k);
        done += k;
    }
    return digits;
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
