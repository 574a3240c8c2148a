#pragma once

#include "workbook/ChunkSource.h"

#include <gsf/gsf-infile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace nimbrel::xlsx {

// A workbook's part holds a sheet's cells, its texts or its styles: the largest a load can use
// is a few tens of MB. A part may inflate to kMaxPartBytes at most, and beyond
// kRatioCheckedFrom only at kMaxRatio times its compressed size or less: spreadsheet XML
// deflates at 5:1 to 30:1, and even a part of one row repeated stays well under 100:1, while a
// compression bomb is made of runs that deflate at about 1000:1.
inline constexpr uint64_t kMaxPartBytes = uint64_t(256) << 20;
inline constexpr uint64_t kRatioCheckedFrom = uint64_t(16) << 20;
inline constexpr uint64_t kMaxRatio = 100;

// The bytes of one part of a package, inflated a chunk at a time as they are asked for.
class PartBytes final : public ChunkSource {
public:
    // Takes the references it is given; `source` (the compressed bytes the container reads the
    // part from) may be null.
    PartBytes(GsfInput* member, GsfInput* source, uint64_t containerBytes);
    ~PartBytes() override;
    PartBytes(const PartBytes&) = delete;
    PartBytes& operator=(const PartBytes&) = delete;

    // The next chunk of the part. Refused when the container is damaged there or the part
    // passes the limits above.
    [[nodiscard]] Status appendTo(std::string& to) override;

private:
    uint64_t compressedRead() const;

    GsfInput* member_;
    GsfInput* source_;
    int64_t sourceStart_ = 0;
    uint64_t containerBytes_;
    uint64_t inflated_ = 0;
};

// A zip container (an .xlsx or .xlsm workbook) read through libgsf. Parts are named as in the
// zip, without a leading "/": "xl/workbook.xml".
class ZipPackage {
public:
    // Takes the reference to `input`. Nullptr when it is not a zip that libgsf can read.
    [[nodiscard]] static std::unique_ptr<ZipPackage> open(GsfInput* input);

    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool has(std::string_view part) const;
    // Nullptr when the package holds no such part.
    [[nodiscard]] std::unique_ptr<PartBytes> read(std::string_view part) const;

private:
    ZipPackage(GsfInfile* zip, uint64_t bytes) : zip_(zip), bytes_(bytes) {}
    // A new reference to the part's member, or null.
    GsfInput* member(std::string_view part) const;

    GsfInfile* zip_;
    uint64_t bytes_;
};

} // namespace nimbrel::xlsx
