#include "workbook/XmlPart.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nimbrel::xlsx {

namespace {

// The bytes of a part handed over `chunk` bytes at a time, as a zip inflates a part in chunks.
class ChunkedBytes final : public ChunkSource {
public:
    ChunkedBytes(std::string bytes, size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
    Status appendTo(std::string& to) override {
        if (at_ == bytes_.size()) return Status::End;
        const size_t size = std::min(chunk_, bytes_.size() - at_);
        to.append(bytes_, at_, size);
        at_ += size;
        return Status::Data;
    }

private:
    std::string bytes_;
    size_t chunk_, at_ = 0;
};

// A part that goes on in one comment for 64 MB, as a compression bomb's runs do, inflated
// 64 KB at a time.
class LongComment final : public ChunkSource {
public:
    Status appendTo(std::string& to) override {
        constexpr size_t kChunk = size_t(64) << 10;
        if (given_ == 0) to += "<r><!--";
        if (given_ >= size_t(64) << 20) return Status::End;
        to.append(kChunk, 'x');
        given_ += kChunk;
        return Status::Data;
    }
    size_t given() const { return given_; }

private:
    size_t given_ = 0;
};

// Every token of the part: "<name a=value id=value>" (the attribute a, and id with a prefix,
// when the tag has them), "[text]", "</name>", and "done" or "refused" at the end.
std::string tokens(const std::string& xml, size_t chunk) {
    XmlPart part(std::make_unique<ChunkedBytes>(xml, chunk));
    std::string out;
    for (;;) {
        switch (part.next()) {
        case XmlPart::Token::Start:
            out += "<" + std::string(part.name());
            if (const auto a = part.attribute("a")) out += " a=" + std::string(*a);
            if (const auto id = part.prefixedAttribute("id")) out += " id=" + std::string(*id);
            out += ">";
            break;
        case XmlPart::Token::End:
            out += "</" + std::string(part.name()) + ">";
            break;
        case XmlPart::Token::Text:
            out += "[" + std::string(part.text()) + "]";
            break;
        case XmlPart::Token::Done:
            return out + "done";
        case XmlPart::Token::Refused:
            return out + "refused";
        }
    }
}

// Each part a byte at a time, five at a time and whole: a token cut anywhere reads the same.
constexpr size_t kWhole = size_t(1) << 30;
constexpr size_t kChunkSizes[] = {1, 5, kWhole};

} // namespace

TEST(XmlPart, ReadsWhatSpreadsheetsWriteInChunksOfAnySize) {
    const struct {
        const char* name;
        std::string xml, tokens;
    } cases[] = {
        {"declaration, byte-order mark, comments and processing instructions",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
         "<!-- a > b --><?mso-application progid=\"Excel.Sheet\"?><r>1<!---->2</r><?end?>\n",
         "<r>[1][2]</r>done"},
        {"CDATA sections hold markup as text", "<r><![CDATA[<c a=\"&amp;\">]]]]><![CDATA[>]]></r>",
         "<r>[<c a=\"&amp;\">]]][>]</r>done"},
        {"the five entities and character references",
         "<r a=\"&lt;&#x41;&#65;&quot;\">&amp;&apos;&gt;&#xe9;&#26085;&#x10FFFF;&#x9;</r>",
         "<r a=<AA\">[&'>\xC3\xA9\xE6\x97\xA5\xF4\x8F\xBF\xBF\t]</r>done"},
        {"line ends become LF; blanks in a value spaces, though not referred ones",
         "<r a=\"x\ty\r\nz&#10;\">1\r\n2\r3<![CDATA[4\r\n]]></r>",
         "<r a=x y z\n>[1\n2\n3][4\n]</r>done"},
        {"empty-element tags, prefixes, single quotes and blanks inside tags",
         "<x:r xmlns:x='u' xmlns:id='n' a = '\"1\"' ><x:c r:id='7'/> <c id=\"8\"\n/></x:r >",
         "<r a=\"1\"><c id=7></c>[ ]<c></c></r>done"},
        {"texts and names past ASCII", "<r a=\"日本\">株価</r>", "<r a=日本>[株価]</r>done"},
        {"no XML declaration and no closing blanks", "<r/>", "<r></r>done"},
        {"a comment of 3 MB", "<r><!--" + std::string(size_t(3) << 20, 'x') + "--></r>",
         "<r></r>done"},
    };
    for (const auto& c : cases)
        for (const size_t chunk : kChunkSizes)
            EXPECT_EQ(tokens(c.xml, chunk), c.tokens) << c.name << ", chunks of " << chunk;
}

// Where a part is refused depends on the chunks for some faults, as a chunk's characters are
// checked before its tokens are read: only the refusal is compared.
TEST(XmlPart, RefusesWhatIsNotWellFormedOrNotForAWorkbook) {
    const struct {
        const char* name;
        std::string xml;
    } cases[] = {
        {"an end tag of another element", "<r><c></r></c>"},
        {"an end tag of another prefix", "<x:r></y:r>"},
        {"an end tag without a name", "<r></>"},
        {"an element left open", "<r><c>1</c>"},
        {"a tag cut short", "<r><c a=\"1\""},
        {"a part cut inside a comment", "<r/><!-- x"},
        {"an empty part", ""},
        {"a name starting with a digit", "<1r/>"},
        {"an attribute without a value", "<r a></r>"},
        {"a value without quotes", "<r a=1></r>"},
        {"attributes without a blank between", "<r a=\"1\"b=\"2\"/>"},
        {"\"<\" in a value", "<r a=\"<\"/>"},
        {"an attribute given twice", "<r b=\"1\" a=\"2\" b=\"3\"/>"},
        {"a DTD", "<!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>"},
        {"a DTD that declares nothing", "<!DOCTYPE r><r/>"},
        {"an entity no part defines", "<r>&nbsp;</r>"},
        {"an entity in a value", "<r a=\"&e;\"/>"},
        {"a reference without its semicolon", "<r>&amp</r>"},
        {"a character reference without digits", "<r>&#x;</r>"},
        {"a decimal reference with a hex digit", "<r>&#1a;</r>"},
        {"a reference to U+0000", "<r>&#0;</r>"},
        {"a reference to a control character", "<r a=\"&#x1B;\"/>"},
        {"a reference to a surrogate", "<r>&#xD800;</r>"},
        {"a reference to U+FFFE", "<r>&#65534;</r>"},
        {"a reference past U+10FFFF", "<r>&#x110000;</r>"},
        {"a reference that overflows 32 bits", "<r>&#4294967362;</r>"},
        {"text before the root element", "x<r/>"},
        {"text after it", "<r/>x"},
        {"a second root element", "<r/><r/>"},
        {"a CDATA section outside the root", "<![CDATA[x]]><r/>"},
        {"\"]]>\" in a text", "<r>a]]>b</r>"},
        {"\"--\" inside a comment", "<r><!-- a -- b --></r>"},
        {"a declaration after the start", " <?xml version=\"1.0\"?><r/>"},
        {"a declaration inside the root", "<r><?xml version=\"1.0\"?></r>"},
        {"a declared encoding other than UTF-8",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r/>"},
        {"UTF-16 with its byte-order mark", std::string("\xFF\xFE<\0r\0/\0>\0", 10)},
        {"a byte of no UTF-8 character", "<r>\xC3\x28</r>"},
        {"an overlong form", "<r a=\"\xC0\xAF\"/>"},
        {"an encoded surrogate", "<r>\xED\xA0\x80</r>"},
        {"U+FFFF written out", "<r>\xEF\xBF\xBF</r>"},
        {"a character cut by the end of the part", "<r/>\xE6\x97"},
        {"a control character", "<r>\x01</r>"},
        {"a NUL byte", std::string("<r>\0</r>", 8)},
        {"a comment of 5 MB", "<r><!--" + std::string(size_t(5) << 20, 'x') + "--></r>"},
        {"a tag of 5 MB", "<r><c a=\"" + std::string(size_t(5) << 20, 'x') + "\"/></r>"},
    };
    for (const auto& c : cases) {
        for (const size_t chunk : kChunkSizes) {
            const std::string read = tokens(c.xml, chunk);
            EXPECT_TRUE(read.ends_with("refused"))
                << c.name << ", chunks of " << chunk << ": " << read;
        }
    }
}

// It is refused once the comment is longer than a token may be, without reading on to its end.
TEST(XmlPart, ReadsNoFurtherIntoATokenThanATokenMayGo) {
    auto comment = std::make_unique<LongComment>();
    const LongComment& source = *comment;
    XmlPart part(std::move(comment));
    EXPECT_EQ(part.next(), XmlPart::Token::Start);
    EXPECT_EQ(part.next(), XmlPart::Token::Refused);
    EXPECT_LE(source.given(), 2 * XmlPart::kMaxTokenBytes);
}

} // namespace nimbrel::xlsx
