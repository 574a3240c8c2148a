#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

namespace nimbrel {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Hands out the lines of the file one by one. A line ends at CR, CR LF or LF; a last line
// without an end is still a line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        const size_t end = lineEnd();
        line = rest_.substr(0, end);
        size_t skip = end;
        if (skip < rest_.size()) {
            if (rest_[skip] == '\r' && skip + 1 < rest_.size() && rest_[skip + 1] == '\n') ++skip;
            ++skip;
        }
        rest_.remove_prefix(skip);
        return true;
    }

private:
    // The first CR or LF: the next of each is looked up only once the line passes it, so that a
    // file with one kind of line end is not searched to its end for the other on every line.
    size_t lineEnd() {
        const char* begin = rest_.data();
        const char* end = begin + rest_.size();
        if (nextCr_ < begin) nextCr_ = find(begin, end, '\r');
        if (nextLf_ < begin) nextLf_ = find(begin, end, '\n');
        return static_cast<size_t>(std::min(nextCr_, nextLf_) - begin);
    }
    static const char* find(const char* begin, const char* end, char c) {
        const void* found = std::memchr(begin, c, static_cast<size_t>(end - begin));
        return found ? static_cast<const char*>(found) : end;
    }

    std::string_view rest_;
    const char* nextCr_ = nullptr;
    const char* nextLf_ = nullptr;
};

inline std::string_view withoutTrailingBlanks(std::string_view line) {
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return line;
}

} // namespace nimbrel
