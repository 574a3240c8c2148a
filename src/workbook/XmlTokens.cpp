// How an XML part reads one token of its bytes: a text, a tag, a comment, a CDATA section or a
// processing instruction.
#include "workbook/XmlPart.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace nimbrel::xlsx {

namespace {

// Bytes by what they are to the scans below. Names are ASCII letters, digits and "_:-.", and
// every byte of a character past ASCII: parts are read by names that are ASCII, so the rest
// need no closer look.
enum ByteClass : uint8_t {
    kBlank = 1,
    kNameStart = 2,
    kNameByte = 4,
    kTextStop = 8,   // ends a text, or needs a closer look in one
    kValueStop = 16, // ends an attribute's value, or needs a closer look in one
};

constexpr auto kClasses = [] {
    std::array<uint8_t, 256> classes{};
    auto add = [&](std::initializer_list<char> bytes, ByteClass byteClass) {
        for (const char c : bytes) classes[static_cast<unsigned char>(c)] |= byteClass;
    };
    for (int c = 0; c < 256; ++c) {
        const bool nameStart =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
        const bool nameByte = nameStart || (c >= '0' && c <= '9') || c == '-' || c == '.';
        classes[static_cast<size_t>(c)] = (nameStart ? kNameStart : 0) | (nameByte ? kNameByte : 0);
    }
    add({' ', '\t', '\n', '\r'}, kBlank);
    add({'<', '&', '\r', '>'}, kTextStop);
    add({'"', '\'', '<', '&', '\t', '\n', '\r'}, kValueStop);
    return classes;
}();

bool is(char c, ByteClass byteClass) {
    return (kClasses[static_cast<unsigned char>(c)] & byteClass) != 0;
}

bool isBlank(char c) {
    return is(c, kBlank);
}

const char* skipBlanks(const char* p, const char* end) {
    while (p < end && is(*p, kBlank)) ++p;
    return p;
}

// The end of the name that starts at `p`: `p` itself when none starts there.
const char* nameEnd(const char* p, const char* end) {
    if (p == end || !is(*p, kNameStart)) return p;
    while (++p < end && is(*p, kNameByte)) {
    }
    return p;
}

// Whether the bytes at `p` start with `literal`; nullopt when they end before telling.
std::optional<bool> startsWith(const char* p, const char* end, std::string_view literal) {
    const size_t have = std::min(static_cast<size_t>(end - p), literal.size());
    if (std::string_view(p, have) != literal.substr(0, have)) return false;
    if (have < literal.size()) return std::nullopt;
    return true;
}

// Where `literal` starts in the bytes from `p`, or null.
const char* find(const char* p, const char* end, std::string_view literal) {
    const size_t at = std::string_view(p, static_cast<size_t>(end - p)).find(literal);
    return at == std::string_view::npos ? nullptr : p + at;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lower) {
    return std::equal(text.begin(), text.end(), lower.begin(), lower.end(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a) == b;
    });
}

// Whether an XML declaration (what follows "<?xml") says the part is UTF-8, as it is when it
// names no encoding.
bool declaresUtf8(std::string_view declaration) {
    const size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return true;
    auto afterBlanks = [](std::string_view text) {
        while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
        return text;
    };
    std::string_view rest = afterBlanks(declaration.substr(at + 8));
    if (!rest.starts_with('=')) return false;
    rest = afterBlanks(rest.substr(1));
    if (rest.empty() || (rest.front() != '"' && rest.front() != '\'')) return false;
    const size_t close = rest.find(rest.front(), 1);
    return close != std::string_view::npos &&
           equalsIgnoringCase(rest.substr(1, close - 1), "utf-8");
}

} // namespace

XmlPart::Lexed XmlPart::lex() {
    const char* from = buffer_.data() + at_;
    const char* const end = buffer_.data() + checked_;
    // A byte-order mark says no more than that the part is UTF-8.
    if (!started_ && dropped_ + at_ == 0) {
        const std::optional<bool> mark = startsWith(from, end, "\xEF\xBB\xBF");
        if (!mark) return needsMore();
        if (*mark) {
            at_ = 3;
            from += 3;
        }
    }
    if (from == end) return ended_ ? Lexed::Ended : Lexed::NeedsMore;
    if (*from != '<') return lexText(from, end);
    if (end - from < 2) return needsMore();
    switch (from[1]) {
    case '/':
        return lexEndTag(from, end);
    case '!':
        return lexMarkedSection(from, end);
    case '?':
        return lexInstruction(from, end);
    default:
        return lexStartTag(from, end);
    }
}

XmlPart::Lexed XmlPart::taken(const char* from, const char* to, Lexed lexed) {
    if (static_cast<size_t>(to - from) > kMaxTokenBytes) return Lexed::Refused;
    at_ = static_cast<size_t>(to - buffer_.data());
    started_ = true;
    return lexed;
}

bool XmlPart::setText(std::string_view raw, bool decode, Decoding decoding) {
    if (!decode) {
        text_ = raw;
        return true;
    }
    decoded_.clear();
    if (!appendDecoded(raw, decoding, decoded_)) return false;
    text_ = decoded_;
    return true;
}

XmlPart::Lexed XmlPart::lexText(const char* from, const char* end) {
    const char* to = from;
    bool decode = false;
    for (; to < end; ++to) {
        if (!is(*to, kTextStop)) continue;
        if (*to == '<') break;
        if (*to != '>')
            decode = true; // a reference or a CR
        else if (to - from >= 2 && to[-1] == ']' && to[-2] == ']')
            return Lexed::Refused; // "]]>" only ends a CDATA section
    }
    if (to == end && !ended_) return Lexed::NeedsMore;
    // Outside the root element only blanks may stand.
    if (depth_ == 0)
        return std::all_of(from, to, isBlank) ? taken(from, to, Lexed::PassedOver) : Lexed::Refused;
    if (to == end) return Lexed::Refused; // the part ends inside an element
    return setText({from, to}, decode, Decoding::Text) ? taken(from, to, Lexed::Text)
                                                       : Lexed::Refused;
}

XmlPart::Lexed XmlPart::lexStartTag(const char* from, const char* end) {
    if (rootEnded_) return Lexed::Refused; // a part has one root element
    const char* p = nameEnd(from + 1, end);
    if (p == end) return needsMore();
    if (p == from + 1) return Lexed::Refused;
    const std::string_view qualified(from + 1, static_cast<size_t>(p - from - 1));
    attributes_.clear();
    bool decode = false, empty = false;
    for (;;) {
        const char* const blanks = p;
        p = skipBlanks(p, end);
        if (p == end) return needsMore();
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (p + 1 == end) return needsMore();
            if (p[1] != '>') return Lexed::Refused;
            p += 2;
            empty = true;
            break;
        }
        // name="value", with a blank before it.
        if (p == blanks || attributes_.size() == kMaxAttributes) return Lexed::Refused;
        const char* const nameFrom = p;
        p = nameEnd(p, end);
        if (p == end) return needsMore();
        if (p == nameFrom) return Lexed::Refused;
        const std::string_view name(nameFrom, static_cast<size_t>(p - nameFrom));
        p = skipBlanks(p, end);
        if (p == end) return needsMore();
        if (*p != '=') return Lexed::Refused;
        p = skipBlanks(p + 1, end);
        if (p == end) return needsMore();
        const char quote = *p;
        if (quote != '"' && quote != '\'') return Lexed::Refused;
        const char* close = p + 1;
        bool decodeValue = false;
        for (; close < end; ++close) {
            if (!is(*close, kValueStop)) continue;
            if (*close == quote) break;
            if (*close == '<') return Lexed::Refused;
            if (*close != '"' && *close != '\'') decodeValue = true; // a reference or a blank
        }
        if (close == end) return needsMore();
        attributes_.push_back({name, {p + 1, close}, decodeValue});
        decode = decode || decodeValue;
        p = close + 1;
    }
    if (++depth_ > kMaxDepth || givenTwice() ||
        (decode && !decodeAttributes(static_cast<size_t>(p - from))))
        return Lexed::Refused;
    name_ = localName(qualified);
    if (empty)
        endPending_ = true;
    else
        open_[static_cast<size_t>(depth_ - 1)].assign(qualified);
    return taken(from, p, Lexed::Start);
}

// Tags have a few attributes, for which comparing each with those before is quickest; a tag of
// many is sorted, so that it does not cost their square.
bool XmlPart::givenTwice() {
    if (attributes_.size() <= 8) {
        for (auto later = attributes_.begin(); later != attributes_.end(); ++later)
            for (auto earlier = attributes_.begin(); earlier != later; ++earlier)
                if (sameName(earlier->name, later->name)) return true;
        return false;
    }
    sortedNames_.clear();
    for (const Attribute& attribute : attributes_) sortedNames_.push_back(attribute.name);
    std::sort(sortedNames_.begin(), sortedNames_.end());
    return std::adjacent_find(sortedNames_.begin(), sortedNames_.end()) != sortedNames_.end();
}

bool XmlPart::decodeAttributes(size_t tagBytes) {
    // A value decoded is never longer than the value written, so room for the whole tag keeps
    // decoded_ from moving while the values before still point into it.
    decoded_.clear();
    decoded_.reserve(tagBytes);
    for (Attribute& attribute : attributes_) {
        if (!attribute.decoded) continue;
        const size_t at = decoded_.size();
        if (!appendDecoded(attribute.value, Decoding::AttributeValue, decoded_)) return false;
        attribute.value = std::string_view(decoded_).substr(at);
    }
    return true;
}

XmlPart::Lexed XmlPart::lexEndTag(const char* from, const char* end) {
    const char* p = nameEnd(from + 2, end);
    if (p == end) return needsMore();
    const std::string_view qualified(from + 2, static_cast<size_t>(p - from - 2));
    p = skipBlanks(p, end);
    if (p == end) return needsMore();
    if (*p != '>' || depth_ == 0 || !sameName(qualified, open_[static_cast<size_t>(depth_ - 1)]))
        return Lexed::Refused;
    rootEnded_ = --depth_ == 0;
    name_ = localName(qualified);
    attributes_.clear();
    return taken(from, p + 1, Lexed::End);
}

// "<!": a comment, a CDATA section, or a DTD, which a part never needs.
XmlPart::Lexed XmlPart::lexMarkedSection(const char* from, const char* end) {
    const std::optional<bool> comment = startsWith(from, end, "<!--");
    if (comment == true) {
        const char* const dashes = find(from + 4, end, "--");
        if (!dashes || dashes + 2 == end) return needsMore();
        if (dashes[2] != '>') return Lexed::Refused; // "--" only ends a comment
        return taken(from, dashes + 3, Lexed::PassedOver);
    }
    const std::optional<bool> section = startsWith(from, end, "<![CDATA[");
    if (section == true) {
        if (depth_ == 0) return Lexed::Refused;
        const char* const close = find(from + 9, end, "]]>");
        if (!close) return needsMore();
        const std::string_view raw(from + 9, static_cast<size_t>(close - from - 9));
        return setText(raw, raw.find('\r') != std::string_view::npos, Decoding::Verbatim)
                   ? taken(from, close + 3, Lexed::Text)
                   : Lexed::Refused;
    }
    return !comment || !section ? needsMore() : Lexed::Refused;
}

// "<?": a processing instruction, or the XML declaration before anything else.
XmlPart::Lexed XmlPart::lexInstruction(const char* from, const char* end) {
    const char* const target = from + 2;
    const char* p = nameEnd(target, end);
    if (p == end) return needsMore();
    if (p == target) return Lexed::Refused;
    const char* const close = find(p, end, "?>");
    if (!close) return needsMore();
    if (p != close && !isBlank(*p)) return Lexed::Refused;
    if (equalsIgnoringCase({target, static_cast<size_t>(p - target)}, "xml") &&
        (started_ || !declaresUtf8({p, static_cast<size_t>(close - p)})))
        return Lexed::Refused;
    return taken(from, close + 2, Lexed::PassedOver);
}

} // namespace nimbrel::xlsx
