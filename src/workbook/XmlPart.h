#pragma once

#include "workbook/ChunkSource.h"
#include "workbook/XmlText.h"
#include "workbook/ZipPackage.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel::xlsx {

// One XML part, read a token at a time as it is inflated, straight from its UTF-8 bytes. A part
// is refused, never expanded or followed without bound, when it declares a DTD or refers to an
// entity it does not define, nests elements deeper than kMaxDepth, holds one token (a text, a
// tag with its attributes, a comment) longer than kMaxTokenBytes or a tag of more than
// kMaxAttributes attributes, is not well formed or ends early. Workbook parts nest a dozen deep
// at most, their tags have a few dozen attributes, and their longest texts are cells of 32767
// characters. A part must be UTF-8, as every spreadsheet writes them: one in UTF-16, or
// declaring another encoding, is refused.
class XmlPart {
public:
    static constexpr int kMaxDepth = 64;
    static constexpr size_t kMaxTokenBytes = size_t(4) << 20;
    static constexpr size_t kMaxAttributes = 256;

    enum class Token { Start, End, Text, Done, Refused };

    explicit XmlPart(std::unique_ptr<ChunkSource> bytes);

    // The declaration, comments and processing instructions are passed over; a CDATA section is
    // a text; an empty-element tag is a start and an end.
    [[nodiscard]] Token next();
    // Reads on past the end of the element whose start was the last token; false when the
    // part is refused on the way.
    [[nodiscard]] bool skipElement();

    // Goes through the elements inside the one just started, to its end: `onChild` is called
    // at the start of each and reads it to its end, false when the part is refused.
    template <typename OnChild> [[nodiscard]] bool forEachChild(OnChild onChild) {
        for (;;) {
            switch (next()) {
            case Token::Start:
                if (!onChild()) return false;
                break;
            case Token::Text:
                break;
            case Token::End:
                return true;
            case Token::Done:
            case Token::Refused:
                return false;
            }
        }
    }

    // Names, attributes and texts are UTF-8, with their references replaced, and last until
    // the next token.

    // The local name of the element started or ended, without its prefix.
    std::string_view name() const { return name_; }
    // An attribute without a prefix; nullopt when the tag has none of that name.
    std::optional<std::string_view> attribute(std::string_view name) const;
    // An attribute of that local name with whatever prefix, as r:id is.
    std::optional<std::string_view> prefixedAttribute(std::string_view name) const;
    std::string_view text() const { return text_; }

private:
    // What reading the token at at_ came to.
    enum class Lexed { Start, End, Text, PassedOver, NeedsMore, Ended, Refused };

    struct Attribute {
        std::string_view name, value;
        bool decoded; // the value holds references or blanks to replace
    };

    Token refuse() {
        refused_ = true;
        return Token::Refused;
    }
    bool fill();

    Lexed lex();
    Lexed lexText(const char* from, const char* end);
    Lexed lexStartTag(const char* from, const char* end);
    Lexed lexEndTag(const char* from, const char* end);
    Lexed lexMarkedSection(const char* from, const char* end);
    Lexed lexInstruction(const char* from, const char* end);
    // A token that goes on past the bytes read so far.
    Lexed needsMore() const { return ended_ ? Lexed::Refused : Lexed::NeedsMore; }
    // The token from `from` to `to` is read: the next one starts at `to`.
    Lexed taken(const char* from, const char* to, Lexed lexed);
    bool setText(std::string_view raw, bool decode, Decoding decoding);
    bool givenTwice();
    bool decodeAttributes(size_t tagBytes);

    std::unique_ptr<ChunkSource> bytes_;
    std::string buffer_;   // the bytes from the token at at_ on, and maybe some before
    size_t at_ = 0;        // where the next token starts in buffer_
    size_t checked_ = 0;   // buffer_ up to here holds well-formed characters
    uint64_t dropped_ = 0; // bytes of the part before buffer_
    bool ended_ = false;   // the source has no more bytes
    bool started_ = false; // a token has been read: no XML declaration may come
    bool rootEnded_ = false;
    bool endPending_ = false; // the element just started was empty: its end comes next
    bool refused_ = false;
    int depth_ = 0;
    std::vector<std::string> open_; // the names of the elements open, with their prefixes

    std::string_view name_, text_;
    std::vector<Attribute> attributes_;
    std::vector<std::string_view> sortedNames_; // to find an attribute given twice
    std::string decoded_;                       // texts and values whose references are replaced
};

// The part, read up to the start of its root element, which must be `root`. Null when the
// package holds no such part or it does not start so.
std::unique_ptr<XmlPart> openXmlPart(const ZipPackage& package, std::string_view part,
                                     std::string_view root);

} // namespace nimbrel::xlsx
