#pragma once

#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace nimbrel {

// The UTF-8 form of a code point of Unicode (not a surrogate) in `bytes`: its length, 1 to 4.
size_t encodeUtf8(uint32_t code, char (&bytes)[4]);

// Texts of a workbook turned into UTF-8, keeping at most `limit` bytes: a cell's text longer
// than a load can use is cut at a character and says so. A UTF-16 surrogate without its partner
// becomes U+FFFD.
class Utf8Builder {
public:
    explicit Utf8Builder(size_t limit) : limit_(limit) {}
    // One UTF-16 code unit.
    void add(uint16_t unit);
    void addUtf8(std::string_view utf8);
    // The text is complete: a high surrogate left waiting is U+FFFD.
    void finish();
    // Whether the text was longer than the limit; nothing more is taken then.
    bool cut() const { return cut_; }
    const std::string& text() const { return text_; }

private:
    void appendCode(uint32_t code);

    size_t limit_;
    std::string text_;
    uint16_t high_ = 0;
    bool cut_ = false;
};

// Excel 95 texts are in the workbook's code page; an unknown one is read as Latin-1.
class CodePageDecoder {
public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;
    ~CodePageDecoder();

    void setCodePage(uint16_t codePage) { codePage_ = codePage; }
    void decode(const uint8_t* bytes, size_t size, Utf8Builder& out);

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    void open();

    uint16_t codePage_ = 1252;
    bool opened_ = false;
    iconv_t converter_ = invalid();
};

} // namespace nimbrel
