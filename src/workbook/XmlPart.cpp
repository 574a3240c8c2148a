#include "workbook/XmlPart.h"

#include <utility>

namespace nimbrel::xlsx {

XmlPart::XmlPart(std::unique_ptr<ChunkSource> bytes)
    : bytes_(std::move(bytes)), open_(static_cast<size_t>(kMaxDepth)) {}

XmlPart::Token XmlPart::next() {
    if (refused_) return Token::Refused;
    if (endPending_) {
        endPending_ = false;
        attributes_.clear();
        rootEnded_ = --depth_ == 0;
        return Token::End;
    }
    for (;;) {
        switch (lex()) {
        case Lexed::Start:
            return Token::Start;
        case Lexed::End:
            return Token::End;
        case Lexed::Text:
            return Token::Text;
        case Lexed::PassedOver:
            break;
        case Lexed::NeedsMore:
            if (ended_ || !fill()) return refuse();
            break;
        case Lexed::Ended:
            if (!rootEnded_) return refuse();
            return Token::Done;
        case Lexed::Refused:
            return refuse();
        }
    }
}

// A token cut by the end of a chunk is read again from its start once the next chunk is in.
bool XmlPart::fill() {
    const size_t pending = buffer_.size() - at_;
    if (pending > kMaxTokenBytes) return false;
    buffer_.erase(0, at_);
    dropped_ += at_;
    checked_ -= at_;
    at_ = 0;
    // As many bytes as the token holds already come in before it is read again, so that a long
    // token costs its length in reading, not its square.
    do {
        switch (bytes_->appendTo(buffer_)) {
        case ChunkSource::Status::Refused:
            return false;
        case ChunkSource::Status::End:
            ended_ = true;
            break;
        case ChunkSource::Status::Data:
            break;
        }
    } while (!ended_ && buffer_.size() < 2 * pending);
    const char* const begin = buffer_.data();
    const char* const checked = xmlCharactersEnd(begin + checked_, begin + buffer_.size());
    if (!checked || (ended_ && checked != begin + buffer_.size())) return false;
    checked_ = static_cast<size_t>(checked - begin);
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

std::optional<std::string_view> XmlPart::attribute(std::string_view name) const {
    for (const Attribute& attribute : attributes_)
        if (sameName(attribute.name, name)) return attribute.value;
    return std::nullopt;
}

std::optional<std::string_view> XmlPart::prefixedAttribute(std::string_view name) const {
    for (const Attribute& attribute : attributes_)
        if (attribute.name.size() > name.size() && localName(attribute.name) == name &&
            !attribute.name.starts_with("xmlns:"))
            return attribute.value;
    return std::nullopt;
}

std::unique_ptr<XmlPart> openXmlPart(const ZipPackage& package, std::string_view part,
                                     std::string_view root) {
    std::unique_ptr<PartBytes> bytes = package.read(part);
    if (!bytes) return nullptr;
    auto xml = std::make_unique<XmlPart>(std::move(bytes));
    if (xml->next() != XmlPart::Token::Start || xml->name() != root) return nullptr;
    return xml;
}

} // namespace nimbrel::xlsx
