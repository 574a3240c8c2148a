#include "workbook/Utf8Text.h"

#include "workbook/WorksheetCells.h"

#include <cerrno>

namespace nimbrel {

size_t encodeUtf8(uint32_t code, char (&bytes)[4]) {
    if (code < 0x80) {
        bytes[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | code >> 6);
        bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | code >> 12);
        bytes[1] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<char>(0xF0 | code >> 18);
    bytes[1] = static_cast<char>(0x80 | (code >> 12 & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

void Utf8Builder::add(uint16_t unit) {
    if (high_ != 0) {
        const uint32_t high = high_;
        high_ = 0;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            appendCode(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        appendCode(0xFFFD);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF)
        high_ = unit;
    else if (unit >= 0xDC00 && unit <= 0xDFFF)
        appendCode(0xFFFD);
    else
        appendCode(unit);
}

void Utf8Builder::addUtf8(std::string_view utf8) {
    if (cut_) return;
    const std::string_view kept = utf8Prefix(utf8, limit_ - text_.size());
    text_ += kept;
    if (kept.size() < utf8.size()) cut_ = true;
}

void Utf8Builder::finish() {
    if (high_ != 0) appendCode(0xFFFD);
    high_ = 0;
}

void Utf8Builder::appendCode(uint32_t code) {
    if (cut_) return;
    char bytes[4];
    const size_t size = encodeUtf8(code, bytes);
    if (text_.size() + size > limit_) {
        cut_ = true;
        return;
    }
    text_.append(bytes, size);
}

CodePageDecoder::~CodePageDecoder() {
    if (converter_ != invalid()) iconv_close(converter_);
}

void CodePageDecoder::decode(const uint8_t* bytes, size_t size, Utf8Builder& out) {
    if (!opened_) open();
    if (converter_ == invalid()) {
        for (size_t i = 0; i < size && !out.cut(); ++i) out.add(bytes[i]); // as Latin-1
        return;
    }
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = size;
    while (inLeft > 0 && !out.cut()) {
        char buffer[256];
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        const size_t done = iconv(converter_, &in, &inLeft, &to, &toLeft);
        out.addUtf8(std::string_view(buffer, sizeof buffer - toLeft));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte the code page does not define, or a character cut at the end.
            out.add(0xFFFD);
            ++in;
            --inLeft;
            iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

void CodePageDecoder::open() {
    opened_ = true;
    std::string name;
    switch (codePage_) {
    case 367:
        name = "ASCII";
        break;
    case 10000:
    case 32768:
        name = "MACINTOSH";
        break;
    case 32769:
        name = "CP1252";
        break;
    default:
        name = "CP" + std::to_string(codePage_);
        break;
    }
    converter_ = iconv_open("UTF-8", name.c_str());
}

} // namespace nimbrel
