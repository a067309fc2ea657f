#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
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
// The same, but nothing when a character of a pair is not a hex digit: coded text that does not
// read as written is refused rather than read as other bytes.
std::optional<std::string> DecodeCodedText(std::string_view text);
// The same when every character is a hex digit, the last one of an odd count too; nothing
// otherwise.
std::optional<std::string> DecodeIfHex(std::string_view text);
// The same two codings piece by piece, appended to out, so that neither text needs to be whole in
// memory beside the other. The decoder keeps a digit left over at the end of a piece for the next
// one; at the end, a digit left over is the odd last character that DecodeText drops.
// True when every character of a pair is a hex digit.
bool DecodeTextAppend(std::string_view text, std::string& out);
class TDecoder {
public:
    explicit TDecoder(std::string& out) : out_(out) {}
    void Feed(std::string_view coded);
    bool DigitLeftOver() const { return pending_ >= 0; }
    // False once a character of a pair was not a hex digit.
    bool AllDigits() const { return allDigits_; }

private:
    std::string& out_;
    int pending_ = -1;   // the first digit of a pair cut by the end of a piece
    bool allDigits_ = true;
};
// Calls put with the coded form of text in pieces of at most pieceBytes bytes.
template <typename Put>
void EncodeInPieces(std::string_view text, Put&& put, std::size_t pieceBytes = 256 * 1024);
void EncodeInto(std::string_view text, char* out);   // out holds 2 * text.size() bytes

// Codes a text while it grows: each part of it is coded as soon as it is finished, while it is
// still in the cache, and handed to put; the coded copy is never whole in memory.
class TEncoder {
public:
    using Put = std::function<void(std::string_view coded)>;
    static constexpr std::size_t kPieceBytes = 64 * 1024;   // of plain text

    // From the start of text on.
    TEncoder(const std::string& text, Put put) : text_(text), put_(std::move(put)) {}
    // Codes what was added since the last time, once it makes a piece.
    void Feed() {
        if (text_.size() - sent_ >= kPieceBytes) Send();
    }
    // Codes the rest.
    void Finish() { Send(); }

private:
    void Send();
    const std::string& text_;
    Put put_;
    std::size_t sent_ = 0;
};

template <typename Put>
void EncodeInPieces(std::string_view text, Put&& put, std::size_t pieceBytes) {
    char buf[64 * 1024];
    const std::size_t step = std::min(pieceBytes, sizeof buf) / 2;
    for (std::size_t i = 0; i < text.size(); i += step) {
        const std::string_view part = text.substr(i, step);
        EncodeInto(part, buf);
        put(std::string_view(buf, 2 * part.size()));
    }
}

std::string XorText(std::string_view text, std::uint8_t key);
std::string ByteToHex(std::uint8_t value);
// One or two hex digits read left to right; 0 for an empty text or one longer than two.
std::uint8_t HexToByte(std::string_view digits);
