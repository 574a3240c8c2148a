#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace nimbrel {

// Data files come from Japanese systems (code page 932), from others that write UTF-8, and from
// spreadsheets that save "Unicode text" as UTF-16.

// A file that starts with a UTF-8 byte-order mark is UTF-8 throughout; any other is decoded
// line by line.
enum class FileEncoding { Utf8, LineByLine };
FileEncoding fileEncoding(std::string_view start);

// The bytes of the file with a UTF-8 byte-order mark, if any, left out.
std::string_view withoutByteOrderMark(std::string_view bytes);

// One line as text. Line by line, a line is UTF-8 when it is well-formed UTF-8 holding a
// character of U+0800 or above, as Japanese text in UTF-8 always does; code page 932 when its
// bytes are that (the half-width katakana of code page 932 are also well-formed UTF-8, of Latin
// and Greek letters, and in a Japanese data file they mean the katakana); UTF-8 otherwise.
QString decodeLine(std::string_view line, FileEncoding encoding);

// A file saved as UTF-16 with its byte-order mark, as UTF-8 with the UTF-8 mark; nullopt for
// any other file.
std::optional<std::string> utf16AsUtf8(std::string_view bytes);

bool isWellFormedUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 character at `p` (1 to 4), or 0 when the bytes there
// are not one: overlong forms, surrogates and values past U+10FFFF are not UTF-8.
int utf8CharacterLength(const unsigned char* p, const unsigned char* end);

} // namespace nimbrel
