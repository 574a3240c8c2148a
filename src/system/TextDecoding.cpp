#include "system/TextDecoding.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace nimbrel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
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

std::string_view withoutByteOrderMark(std::string_view wholeFile) {
    if (wholeFile.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        wholeFile.remove_prefix(kByteOrderMark.size());
    return wholeFile;
}

TextEncoding detectEncoding(std::string_view wholeFile) {
    if (wholeFile.substr(0, kByteOrderMark.size()) == kByteOrderMark) return TextEncoding::Utf8;
    return isValidUtf8(wholeFile) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

QString decodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace nimbrel
