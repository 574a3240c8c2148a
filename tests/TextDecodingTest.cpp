#include "system/TextDecoding.h"

#include <gtest/gtest.h>

namespace nimbrel {

// Each line is read in the encoding it was written in: UTF-8 where it is well-formed UTF-8 of
// Japanese text, code page 932 where it is that; a file with the UTF-8 mark is UTF-8 throughout.
TEST(TextDecoding, EachLineIsReadInTheEncodingItWasWrittenIn) {
    const struct {
        const char* bytes;
        const char* text; // UTF-8
        FileEncoding file = FileEncoding::LineByLine;
    } cases[] = {
        {"19991101 1500", "19991101 1500"},
        {"\xE6\x97\xA5\xE7\xB5\x8C 1500", "日経 1500"}, // UTF-8
        {"\xF0\x9F\x93\x88 chart", "📈 chart"},          // a four-byte character
        {"\x93\xFA\x8C\x6F 1500", "日経 1500"},         // code page 932
        {"\xCF\xB2\xC5\xBD", "ﾏｲﾅｽ"},                   // 932 katakana, also UTF-8 "ϲŽ"
        {"\xCF\xB2\xC5\xBD", "ϲŽ", FileEncoding::Utf8}, // unless the file is UTF-8
        {"\xE3\x83\x9E\xC5\xBD", "マŽ"},                // UTF-8 with a wide character
        {"\xC0\xAF", "ﾀｯ"},                             // "/" as an overlong UTF-8: 932
        {"\xE0\x80\xAF", "烙ｯ"},                        // and as three bytes
        {"\xED\xA0\x80\x41", "恝\x1A\x41"},             // neither: 932, a substitute for 80
        {"\x82\x51\x82\x4F\x81\x40", "２０　"},         // full-width digits in 932
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeLine(c.bytes, c.file), QString::fromUtf8(c.text)) << c.bytes;
    EXPECT_EQ(fileEncoding("\xEF\xBB\xBF\x93\xFA"), FileEncoding::Utf8);
    EXPECT_EQ(fileEncoding("\x93\xFA\xEF\xBB\xBF"), FileEncoding::LineByLine);
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF"
                                   "1"),
              "1");
}

TEST(TextDecoding, Utf16TextBecomesUtf8WithItsMark) {
    using namespace std::string_literals;
    EXPECT_EQ(utf16AsUtf8("\xFF\xFE\xE5\x65\x0D\x00\x0A\x00"s), "\xEF\xBB\xBF日\r\n");
    EXPECT_EQ(utf16AsUtf8("\xFE\xFF\x65\xE5\x00\x31"s), "\xEF\xBB\xBF日1");
    EXPECT_EQ(utf16AsUtf8("19991101"), std::nullopt);
}

} // namespace nimbrel
