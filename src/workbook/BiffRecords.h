#pragma once

#include "workbook/Utf8Text.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel::biff {

// The records of a workbook stream (Excel 97 BIFF8 and Excel 95 BIFF5), read within the bytes
// the stream has, never a size that a record claims.

enum RecordId : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRichString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

inline constexpr uint16_t kGlobalsBof = 0x0005, kWorksheetBof = 0x0010;
inline constexpr uint16_t kBiff5 = 0x0500, kBiff8 = 0x0600;
inline constexpr size_t kMaxNameBytes = 1024;

inline uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline double f64(const uint8_t* p) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// An RK value: a 30-bit integer or the top 30 bits of a double, maybe divided by 100.
inline double rkValue(uint32_t rk) {
    double value;
    if (rk & 2) {
        value = static_cast<int32_t>(rk) >> 2;
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return rk & 1 ? value / 100 : value;
}

// The workbook stream, read at any position.
class StreamSource {
public:
    virtual ~StreamSource() = default;
    virtual uint64_t size() const = 0;
    virtual bool read(uint64_t at, size_t size, uint8_t* to) = 0;
};

class MemorySource final : public StreamSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    uint64_t size() const override { return bytes_.size(); }
    bool read(uint64_t at, size_t size, uint8_t* to) override {
        if (at > bytes_.size() || size > bytes_.size() - at) return false;
        std::memcpy(to, bytes_.data() + at, size);
        return true;
    }

private:
    std::string bytes_;
};

struct Record {
    uint16_t id = 0;
    uint64_t at = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Records one after the other, through a window of the stream: a record's bytes stay valid
// until the next record is read.
class RecordStream {
public:
    explicit RecordStream(std::unique_ptr<StreamSource> source)
        : source_(std::move(source)), size_(source_->size()) {}

    void seek(uint64_t at) { next_ = at; }
    uint64_t position() const { return next_; }
    // False at the end of the stream, and when a record runs past it.
    bool next(Record& record);

private:
    const uint8_t* bytes(uint64_t at, size_t size);

    std::unique_ptr<StreamSource> source_;
    uint64_t size_;
    uint64_t next_ = 0;
    std::vector<uint8_t> window_;
    uint64_t windowAt_ = 0;
};

// A record and the CONTINUE records after it, read as one run of bytes. Characters of a
// string that go on in the next record start there with a byte giving their width.
class ContinuedRecord {
public:
    ContinuedRecord(RecordStream& stream, const Record& first)
        : stream_(stream), data_(first.data), size_(first.size) {}

    bool take(void* to, size_t size);
    bool skip(uint64_t size);
    // `count` characters, one byte each or two; decoded into `out` unless it is null.
    bool characters(uint32_t count, bool wide, Utf8Builder* out);

private:
    bool nextPart();

    RecordStream& stream_;
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A string with its count, flags, rich-text runs and extended data (BIFF8); decoded into `out`
// unless it is null.
bool readUnicodeString(ContinuedRecord& in, bool richAndExtended, Utf8Builder* out);

} // namespace nimbrel::biff
