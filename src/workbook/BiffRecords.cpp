#include "workbook/BiffRecords.h"

#include <algorithm>

namespace nimbrel::biff {

namespace {

constexpr size_t kWindow = 1 << 18; // more than the largest record

} // namespace

bool RecordStream::next(Record& record) {
    const uint8_t* head = bytes(next_, 4);
    if (!head) return false;
    record.id = u16(head);
    record.size = u16(head + 2);
    record.at = next_;
    record.data = bytes(next_ + 4, record.size);
    if (!record.data) return false;
    next_ += 4 + record.size;
    return true;
}

const uint8_t* RecordStream::bytes(uint64_t at, size_t size) {
    static const uint8_t kNothing = 0;
    if (at > size_ || size > size_ - at) return nullptr;
    if (size == 0) return &kNothing;
    if (at >= windowAt_ && at - windowAt_ + size <= window_.size())
        return window_.data() + (at - windowAt_);
    const auto length = static_cast<size_t>(std::min<uint64_t>(kWindow, size_ - at));
    window_.resize(length);
    if (!source_->read(at, length, window_.data())) {
        window_.clear();
        return nullptr;
    }
    windowAt_ = at;
    return window_.data();
}

bool ContinuedRecord::take(void* to, size_t size) {
    auto* out = static_cast<uint8_t*>(to);
    while (size > 0) {
        if (at_ == size_ && !nextPart()) return false;
        const size_t part = std::min(size, size_ - at_);
        std::memcpy(out, data_ + at_, part);
        out += part;
        at_ += part;
        size -= part;
    }
    return true;
}

bool ContinuedRecord::skip(uint64_t size) {
    while (size > 0) {
        if (at_ == size_ && !nextPart()) return false;
        const auto part = static_cast<size_t>(std::min<uint64_t>(size, size_ - at_));
        at_ += part;
        size -= part;
    }
    return true;
}

bool ContinuedRecord::characters(uint32_t count, bool wide, Utf8Builder* out) {
    while (count > 0) {
        if (at_ == size_) {
            if (!nextPart() || at_ == size_) return false;
            wide = data_[at_++] & 1;
        }
        const size_t width = wide ? 2 : 1;
        const auto part = static_cast<uint32_t>(std::min<size_t>(count, (size_ - at_) / width));
        if (part == 0) return false; // half a character before the record ends
        if (out && !out->cut()) {
            for (uint32_t i = 0; i < part; ++i) {
                const uint8_t* p = data_ + at_ + i * width;
                out->add(wide ? u16(p) : *p);
            }
        }
        at_ += part * width;
        count -= part;
    }
    return true;
}

bool ContinuedRecord::nextPart() {
    const uint64_t at = stream_.position();
    Record record;
    if (!stream_.next(record) || record.id != kContinue) {
        stream_.seek(at);
        return false;
    }
    data_ = record.data;
    size_ = record.size;
    at_ = 0;
    return true;
}

bool readUnicodeString(ContinuedRecord& in, bool richAndExtended, Utf8Builder* out) {
    uint16_t count = 0;
    uint8_t flags = 0;
    if (!in.take(&count, 2) || !in.take(&flags, 1)) return false;
    uint16_t runs = 0;
    uint32_t extended = 0;
    if (richAndExtended && (flags & 0x08) && !in.take(&runs, 2)) return false;
    if (richAndExtended && (flags & 0x04) && !in.take(&extended, 4)) return false;
    if (!in.characters(count, flags & 1, out)) return false;
    if (out) out->finish();
    return in.skip(uint64_t(runs) * 4 + extended);
}

} // namespace nimbrel::biff
