#pragma once

#include <QString>

#include <string_view>

namespace nimbrel {

enum class TextEncoding { Utf8, ShiftJis };

// Data files come from Japanese systems (Shift-JIS, code page 932) or from others that write
// UTF-8. A byte-order mark or text that is valid UTF-8 throughout means UTF-8.
TextEncoding detectEncoding(std::string_view wholeFile);

// The bytes of the file with a UTF-8 byte-order mark, if any, left out.
std::string_view withoutByteOrderMark(std::string_view wholeFile);

QString decodeText(std::string_view bytes, TextEncoding encoding);

// The length of the well-formed UTF-8 character at `p` (1 to 4), or 0 when the bytes there
// are not one: overlong forms, surrogates and values past U+10FFFF are not UTF-8.
int utf8CharacterLength(const unsigned char* p, const unsigned char* end);

} // namespace nimbrel
