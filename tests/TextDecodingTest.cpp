#include "system/TextDecoding.h"

#include <gtest/gtest.h>

namespace nimbrel {

// A file is taken for UTF-8 only when every byte of it is well-formed UTF-8 (or it starts with
// the byte-order mark); anything else is Shift-JIS, as Japanese systems write their files.
TEST(TextDecoding, OnlyWellFormedUtf8IsTakenForUtf8) {
    const struct {
        const char* bytes;
        TextEncoding encoding;
    } cases[] = {
        {"19991101 1500\r\n", TextEncoding::Utf8},
        {"\xE6\x97\xA5\xE7\xB5\x8C 1500", TextEncoding::Utf8}, // 日経
        {"\xF0\x9F\x93\x88 chart", TextEncoding::Utf8},        // a four-byte character
        {"\x93\xFA\x8C\x6F 1500", TextEncoding::ShiftJis},     // 日経 in Shift-JIS
        {"\xC0\xAF", TextEncoding::ShiftJis},                  // "/" written in two bytes
        {"\xE0\x80\xAF", TextEncoding::ShiftJis},              // and in three
        {"\xED\xA0\x80", TextEncoding::ShiftJis},              // a surrogate
        {"\xF4\x90\x80\x80", TextEncoding::ShiftJis},          // past U+10FFFF
        {"\xE6\x97", TextEncoding::ShiftJis},                  // cut short
        {"abcdefgh\x80", TextEncoding::ShiftJis},              // a stray continuation
        {"\xEF\xBB\xBF\x93\xFA", TextEncoding::Utf8},          // the mark decides
    };
    for (const auto& c : cases) EXPECT_EQ(detectEncoding(c.bytes), c.encoding) << c.bytes;
    EXPECT_EQ(decodeText("\x93\xFA\x8C\x6F", TextEncoding::ShiftJis), QStringLiteral("日経"));
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF"
                                   "1"),
              "1");
}

} // namespace nimbrel
