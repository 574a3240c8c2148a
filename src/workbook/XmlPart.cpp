#include "workbook/XmlPart.h"

namespace nimbrel::xlsx {

// Parts are read by the local names of their elements and attributes, so their namespaces
// need no resolving; resolving costs a look-up through every declaration in scope for each
// element, and a part may declare as many as it likes.
XmlPart::XmlPart(std::unique_ptr<PartBytes> bytes) : bytes_(std::move(bytes)) {
    reader_.setNamespaceProcessing(false);
}

XmlPart::Token XmlPart::next() {
    if (refused_) return Token::Refused;
    for (;;) {
        switch (reader_.readNext()) {
        case QXmlStreamReader::StartElement:
            unreturned_ = 0;
            if (++depth_ > kMaxDepth) return refuse();
            return Token::Start;
        case QXmlStreamReader::EndElement:
            unreturned_ = 0;
            --depth_;
            return Token::End;
        case QXmlStreamReader::Characters:
            unreturned_ = 0;
            return Token::Text;
        case QXmlStreamReader::EndDocument:
            return Token::Done;
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            unreturned_ = 0;
            continue;
        case QXmlStreamReader::Invalid:
            // The reader asks for more whenever it has used what it was given.
            if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
                continue;
            return refuse();
        default: // a DTD or an entity reference: a part of a workbook has neither
            return refuse();
        }
    }
}

bool XmlPart::feed() {
    QByteArray chunk;
    if (bytes_->next(chunk) != PartBytes::Status::Data) return false;
    unreturned_ += chunk.size();
    if (unreturned_ > kMaxTokenBytes || !withinAttributeLimit(chunk)) return false;
    reader_.addData(chunk);
    return true;
}

// Qt's reader compares each attribute of a start tag with every one before it, so a tag costs
// the square of its attributes: markup with more "=" than that many attributes have is
// refused before the reader sees it. A ">" inside an attribute's value only makes the count
// start again.
bool XmlPart::withinAttributeLimit(const QByteArray& chunk) {
    for (const char c : chunk) {
        if (c == '<') {
            inMarkup_ = true;
            equalsInMarkup_ = 0;
        } else if (c == '>') {
            inMarkup_ = false;
        } else if (c == '=' && inMarkup_ && ++equalsInMarkup_ > kMaxAttributes) {
            return false;
        }
    }
    return true;
}

bool XmlPart::skipElement() {
    for (int depth = 1; depth > 0;) {
        switch (next()) {
        case Token::Start:
            ++depth;
            break;
        case Token::End:
            --depth;
            break;
        case Token::Text:
            break;
        case Token::Done:
        case Token::Refused:
            return false;
        }
    }
    return true;
}

QStringView XmlPart::prefixedAttribute(QLatin1StringView name) const {
    for (const QXmlStreamAttribute& attribute : reader_.attributes()) {
        const QStringView qualified = attribute.qualifiedName();
        if (attribute.name() == name && qualified.size() > name.size() &&
            !qualified.startsWith(u"xmlns:"))
            return attribute.value();
    }
    return {};
}

std::unique_ptr<XmlPart> openXmlPart(const ZipPackage& package, std::string_view part,
                                     QStringView root) {
    std::unique_ptr<PartBytes> bytes = package.read(part);
    if (!bytes) return nullptr;
    auto xml = std::make_unique<XmlPart>(std::move(bytes));
    if (xml->next() != XmlPart::Token::Start || xml->name() != root) return nullptr;
    return xml;
}

void appendText(Utf8Builder& to, QStringView text) {
    for (const QChar unit : text) {
        if (to.cut()) return;
        to.add(unit.unicode());
    }
}

std::string utf8Text(QStringView text, size_t limit) {
    Utf8Builder builder(limit);
    appendText(builder, text);
    builder.finish();
    return builder.text();
}

std::optional<uint32_t> unsignedValue(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c.unicode() - u'0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

} // namespace nimbrel::xlsx
