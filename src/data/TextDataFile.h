#pragma once

#include "data/DataFileLoader.h"

#include <string_view>

namespace nimbrel {

// How the bytes given to the text reading end.
enum class TextEnd {
    Whole,   // the whole file
    Stopped, // where the line of one day more than the series holds began
    Cut,     // at the byte limit, with more of the file left: the line cut there is unreadable
};

// A text file is read only as far as a load uses it.
inline constexpr size_t kMaxTextBytes = size_t(16) << 20;

// The text-file reading, on the bytes read from the file. A DOS end-of-file byte (0x1A) ends
// the text.
[[nodiscard]] std::optional<LoadFailure> loadTextData(PriceSeries& series, std::string_view bytes,
                                                      TextEnd end = TextEnd::Whole);

// Follows a text file as it is read, to tell where reading can stop: at a DOS end-of-file byte,
// or as soon as the line of one day more than the series holds has begun.
class TextExtent {
public:
    // A text read by its header keeps its newest days, which may come last: only the byte
    // limit and an end-of-file byte stop its reading.
    enum class Stop { AfterTheDays, AtTheEnd };
    explicit TextExtent(Stop stop = Stop::AfterTheDays) : stop_(stop) {}

    // Looks at what was appended to `bytes` since the last call. True when the text ends in it;
    // end() and how() then tell where and why.
    bool scan(std::string_view bytes);
    size_t end() const { return end_; }
    TextEnd how() const { return how_; }

private:
    Stop stop_;
    size_t scanned_ = 0;
    size_t end_ = 0;
    TextEnd how_ = TextEnd::Whole;
    int64_t linesEnded_ = 0;
    int64_t dayLines_ = 0;
    bool lineHasText_ = false;
    bool afterCr_ = false;
};

} // namespace nimbrel
