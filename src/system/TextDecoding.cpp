#include "system/TextDecoding.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace nimbrel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool hasWideCharacter(std::string_view utf8) {
    // A lead byte of three or four bytes: U+0800 and above.
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0xE0) return true;
    return false;
}

// Single bytes 00-7F and A1-DF (half-width katakana); pairs of a lead byte 81-9F or E0-FC and
// a trail byte 40-7E or 80-FC.
bool isCodePage932(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
        if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) || ++i == bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[i]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
    }
    return true;
}

QString codePage932(std::string_view bytes) {
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString utf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

int utf8CharacterLength(const unsigned char* p, const unsigned char* end) {
    if (*p < 0x80) return 1;
    int length;
    uint32_t code;
    if ((*p & 0xE0) == 0xC0)
        length = 2, code = *p & 0x1F;
    else if ((*p & 0xF0) == 0xE0)
        length = 3, code = *p & 0x0F;
    else if ((*p & 0xF8) == 0xF0)
        length = 4, code = *p & 0x07;
    else
        return 0;
    if (end - p < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool isWellFormedUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Day lines are ASCII: pass them eight bytes at a time.
        if (end - p >= 8) {
            uint64_t eight;
            std::memcpy(&eight, p, 8);
            if ((eight & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const int length = utf8CharacterLength(p, end);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

FileEncoding fileEncoding(std::string_view start) {
    return start.starts_with(kByteOrderMark) ? FileEncoding::Utf8 : FileEncoding::LineByLine;
}

std::string_view withoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return bytes;
}

QString decodeLine(std::string_view line, FileEncoding encoding) {
    if (encoding == FileEncoding::Utf8 || isAscii(line)) return utf8(line);
    const bool wellFormed = isWellFormedUtf8(line);
    if (wellFormed && hasWideCharacter(line)) return utf8(line);
    if (isCodePage932(line)) return codePage932(line);
    return wellFormed ? utf8(line) : codePage932(line);
}

std::optional<std::string> utf16AsUtf8(std::string_view bytes) {
    std::optional<QStringDecoder> decoder;
    if (bytes.starts_with("\xFF\xFE"))
        decoder.emplace(QStringDecoder::Utf16LE);
    else if (bytes.starts_with("\xFE\xFF"))
        decoder.emplace(QStringDecoder::Utf16BE);
    else
        return std::nullopt;
    bytes.remove_prefix(2);
    const QString text =
        decoder->decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return std::string(kByteOrderMark) + text.toStdString();
}

} // namespace nimbrel
