#pragma once

#include <QString>

#include <string_view>

enum class TextEncoding { Utf8, ShiftJis };

// Data files come from Japanese systems (Shift-JIS, code page 932) or from others that write
// UTF-8. A byte-order mark or text that is valid UTF-8 throughout means UTF-8.
TextEncoding detectEncoding(std::string_view wholeFile);

// The bytes of the file with a UTF-8 byte-order mark, if any, left out.
std::string_view withoutByteOrderMark(std::string_view wholeFile);

QString decodeText(std::string_view bytes, TextEncoding encoding);
