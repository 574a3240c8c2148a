#pragma once

#include <string>

namespace nimbrel::xlsx {

// Where the bytes of an XML part come from, a chunk at a time: a part of a zip as it inflates.
class ChunkSource {
public:
    enum class Status { Data, End, Refused };

    virtual ~ChunkSource() = default;
    // Appends the next chunk to `to`; Refused when the source is damaged there or passes its
    // limits.
    [[nodiscard]] virtual Status appendTo(std::string& to) = 0;
};

} // namespace nimbrel::xlsx
