#include "workbook/XmlText.h"

#include "system/TextDecoding.h"
#include "workbook/Utf8Text.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace nimbrel::xlsx {

namespace {

bool isXmlCharacter(uint32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The character of a reference, between its "&" and ";": "amp", "#38", "#x26".
std::optional<uint32_t> referredCharacter(std::string_view reference) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& [name, character] : kEntities)
        if (reference == name) return static_cast<uint32_t>(character);
    if (!reference.starts_with('#')) return std::nullopt;
    reference.remove_prefix(1);
    const bool hex = reference.starts_with('x');
    if (hex) reference.remove_prefix(1);
    if (reference.empty()) return std::nullopt;
    uint32_t code = 0;
    for (const char c : reference) {
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0x10FFFF) return std::nullopt; // before it can overflow
    }
    if (!isXmlCharacter(code)) return std::nullopt;
    return code;
}

} // namespace

bool appendDecoded(std::string_view raw, Decoding decoding, std::string& to) {
    const bool attribute = decoding == Decoding::AttributeValue;
    for (size_t i = 0; i < raw.size();) {
        const char c = raw[i];
        if (c == '&' && decoding != Decoding::Verbatim) {
            const size_t semicolon = raw.find(';', i + 1);
            if (semicolon == std::string_view::npos) return false;
            const std::optional<uint32_t> code =
                referredCharacter(raw.substr(i + 1, semicolon - i - 1));
            if (!code) return false;
            char bytes[4];
            to.append(bytes, encodeUtf8(*code, bytes));
            i = semicolon + 1;
        } else if (c == '\r') {
            to += attribute ? ' ' : '\n';
            i += i + 1 < raw.size() && raw[i + 1] == '\n' ? 2 : 1;
        } else {
            to += attribute && (c == '\t' || c == '\n') ? ' ' : c;
            ++i;
        }
    }
    return true;
}

const char* xmlCharactersEnd(const char* from, const char* end) {
    const auto* p = reinterpret_cast<const unsigned char*>(from);
    const auto* const stop = reinterpret_cast<const unsigned char*>(end);
    while (p < stop) {
        // Markup and numbers are ASCII without control characters: eight bytes at a time.
        if (stop - p >= 8) {
            constexpr uint64_t kHighBits = 0x8080808080808080, kSpaces = 0x2020202020202020;
            uint64_t eight;
            std::memcpy(&eight, p, 8);
            if ((eight & kHighBits) == 0 && ((eight - kSpaces) & ~eight & kHighBits) == 0) {
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            if (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') return nullptr;
            ++p;
            continue;
        }
        const int length = utf8CharacterLength(p, stop);
        if (length == 0) {
            if (stop - p < 4) break;
            return nullptr;
        }
        if (length == 3 && p[0] == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) return nullptr;
        p += length;
    }
    return reinterpret_cast<const char*>(p);
}

} // namespace nimbrel::xlsx
