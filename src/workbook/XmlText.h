#pragma once

#include <string>
#include <string_view>

namespace nimbrel::xlsx {

// The characters of an XML part as XML reads them.

// How a run of the part's characters is read: a text between tags, an attribute's value, or a
// CDATA section, which holds no references.
enum class Decoding { Text, AttributeValue, Verbatim };

// Appends `raw` to `to` with its line ends (CR LF, CR) made LF, its references replaced (the
// five entities every part knows and character references) and, in an attribute's value, its
// tabs and line ends made spaces. False for a reference to an entity the part does not define
// (a part defines none) or to a code point that is no character XML allows. What is appended
// is never longer than `raw`.
[[nodiscard]] bool appendDecoded(std::string_view raw, Decoding decoding, std::string& to);

// How far the bytes from `from` are characters XML allows, in well-formed UTF-8: `end`, or the
// start of a character the end may cut (the rest of it may come with the next chunk). Null at
// the first byte that is not: a control character, a byte of no UTF-8 character (as every
// part in UTF-16 has), U+FFFE or U+FFFF.
const char* xmlCharactersEnd(const char* from, const char* end);

// Names are short: a loop compares them faster than a call to compare memory.
inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// A name without its prefix: "id" of "r:id".
inline std::string_view localName(std::string_view qualified) {
    for (size_t i = qualified.size(); i > 0; --i)
        if (qualified[i - 1] == ':') return qualified.substr(i);
    return qualified;
}

} // namespace nimbrel::xlsx
