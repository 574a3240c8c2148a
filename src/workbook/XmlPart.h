#pragma once

#include "workbook/Utf8Text.h"
#include "workbook/ZipPackage.h"

#include <QXmlStreamReader>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace nimbrel::xlsx {

// One XML part, read a token at a time as it is inflated. A part is refused, never expanded or
// followed without bound, when it declares a DTD or refers to an entity it does not define,
// nests elements deeper than kMaxDepth, holds one token (a text, a start tag with its
// attributes) longer than kMaxTokenBytes or a tag of more than kMaxAttributes attributes, is
// not well formed or ends early. Workbook parts nest a dozen deep at most, their tags have a
// few dozen attributes, and their longest texts are cells of 32767 characters.
class XmlPart {
public:
    static constexpr int kMaxDepth = 64;
    static constexpr qsizetype kMaxTokenBytes = qsizetype(4) << 20;
    static constexpr int kMaxAttributes = 256;

    enum class Token { Start, End, Text, Done, Refused };

    explicit XmlPart(std::unique_ptr<PartBytes> bytes);

    // Comments and processing instructions are passed over.
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

    // The local name of the element started or ended, without its prefix.
    QStringView name() const { return reader_.name(); }
    // An attribute without a prefix.
    QStringView attribute(QLatin1StringView name) const { return reader_.attributes().value(name); }
    // An attribute of that local name with whatever prefix, as r:id is.
    QStringView prefixedAttribute(QLatin1StringView name) const;
    QStringView text() const { return reader_.text(); }

private:
    Token refuse() {
        refused_ = true;
        return Token::Refused;
    }
    bool feed();
    bool withinAttributeLimit(const QByteArray& chunk);

    std::unique_ptr<PartBytes> bytes_;
    QXmlStreamReader reader_;
    int depth_ = 0;
    qsizetype unreturned_ = 0; // bytes given to the reader since it last returned a token
    bool inMarkup_ = false;    // between a "<" and a ">" of the bytes given to the reader
    int equalsInMarkup_ = 0;
    bool refused_ = false;
};

// The part, read up to the start of its root element, which must be `root`. Null when the
// package holds no such part or it does not start so.
std::unique_ptr<XmlPart> openXmlPart(const ZipPackage& package, std::string_view part,
                                     QStringView root);

// Adds a text of the part to a UTF-8 text, within the builder's limit.
void appendText(Utf8Builder& to, QStringView text);
// A text of the part in UTF-8, cut at a character to at most `limit` bytes.
std::string utf8Text(QStringView text, size_t limit);
// A number of decimal digits and nothing else, as indexes and counts are written.
std::optional<uint32_t> unsignedValue(QStringView digits);

} // namespace nimbrel::xlsx
