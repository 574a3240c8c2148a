#include "workbook/WorkbookReader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

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

constexpr uint16_t kGlobalsBof = 0x0005, kWorksheetBof = 0x0010;
constexpr uint16_t kBiff5 = 0x0500, kBiff8 = 0x0600;
constexpr size_t kMaxNameBytes = 1024;

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
double f64(const uint8_t* p) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// An RK value: a 30-bit integer or the top 30 bits of a double, maybe divided by 100.
double rkValue(uint32_t rk) {
    double value;
    if (rk & 2) {
        value = static_cast<int32_t>(rk) >> 2;
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return rk & 1 ? value / 100 : value;
}

// Turns UTF-16 code units into UTF-8, keeping at most `limit` bytes. A surrogate without its
// partner becomes U+FFFD.
class Utf8Builder {
public:
    explicit Utf8Builder(size_t limit) : limit_(limit) {}
    void add(uint16_t unit) {
        if (high_ != 0) {
            const uint32_t high = high_;
            high_ = 0;
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                emit(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                return;
            }
            emit(0xFFFD);
        }
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high_ = unit;
        else if (unit >= 0xDC00 && unit <= 0xDFFF)
            emit(0xFFFD);
        else
            emit(unit);
    }
    void addUtf8(std::string_view utf8) {
        if (cut_) return;
        const std::string_view kept = utf8Prefix(utf8, limit_ - text_.size());
        text_ += kept;
        if (kept.size() < utf8.size()) cut_ = true;
    }
    void finish() {
        if (high_ != 0) emit(0xFFFD);
        high_ = 0;
    }
    bool cut() const { return cut_; }
    const std::string& text() const { return text_; }

private:
    void emit(uint32_t code) {
        if (cut_) return;
        char bytes[4];
        size_t size;
        if (code < 0x80) {
            bytes[0] = static_cast<char>(code);
            size = 1;
        } else if (code < 0x800) {
            bytes[0] = static_cast<char>(0xC0 | code >> 6);
            bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
            size = 2;
        } else if (code < 0x10000) {
            bytes[0] = static_cast<char>(0xE0 | code >> 12);
            bytes[1] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
            size = 3;
        } else {
            bytes[0] = static_cast<char>(0xF0 | code >> 18);
            bytes[1] = static_cast<char>(0x80 | (code >> 12 & 0x3F));
            bytes[2] = static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
            size = 4;
        }
        if (text_.size() + size > limit_) {
            cut_ = true;
            return;
        }
        text_.append(bytes, size);
    }

    size_t limit_;
    std::string text_;
    uint16_t high_ = 0;
    bool cut_ = false;
};

// Excel 95 texts are in the workbook's code page.
class CodePageDecoder {
public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;
    ~CodePageDecoder() {
        if (converter_ != invalid()) iconv_close(converter_);
    }
    void setCodePage(uint16_t codePage) { codePage_ = codePage; }

    void decode(const uint8_t* bytes, size_t size, Utf8Builder& out) {
        if (!opened_) open();
        if (converter_ == invalid()) {
            for (size_t i = 0; i < size && !out.cut(); ++i) out.add(bytes[i]); // as Latin-1
            return;
        }
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
        size_t inLeft = size;
        while (inLeft > 0 && !out.cut()) {
            char buffer[256];
            char* to = buffer;
            size_t toLeft = sizeof buffer;
            const size_t done = iconv(converter_, &in, &inLeft, &to, &toLeft);
            out.addUtf8(std::string_view(buffer, sizeof buffer - toLeft));
            if (done == static_cast<size_t>(-1) && errno != E2BIG) {
                // A byte the code page does not define, or a character cut at the end.
                out.add(0xFFFD);
                ++in;
                --inLeft;
                iconv(converter_, nullptr, nullptr, nullptr, nullptr);
            }
        }
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    void open() {
        opened_ = true;
        std::string name;
        switch (codePage_) {
        case 367:
            name = "ASCII";
            break;
        case 10000:
        case 32768:
            name = "MACINTOSH";
            break;
        case 32769:
            name = "CP1252";
            break;
        default:
            name = "CP" + std::to_string(codePage_);
            break;
        }
        converter_ = iconv_open("UTF-8", name.c_str());
    }

    uint16_t codePage_ = 1252;
    bool opened_ = false;
    iconv_t converter_ = invalid();
};

// A format is a date format when, outside quoted texts, escaped characters and brackets, it
// has a year, month, day, era or time code. "General" (G/標準 in Japanese) and the exponent
// of a scientific format (E+) are not codes.
bool isDateFormatText(std::string_view format) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = lower(format[i]);
        const char next = i + 1 < format.size() ? lower(format[i + 1]) : '\0';
        if (c == '"') {
            const size_t close = format.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const size_t close = format.find(']', i + 1);
            if (close == std::string_view::npos) return false;
            std::string_view inside = format.substr(i + 1, close - i - 1);
            // Elapsed time ([h], [mm], [ss]) is a time; colours, locales and conditions are not.
            if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string_view::npos &&
                std::string_view("hHmMsS").find(inside[0]) != std::string_view::npos)
                return true;
            i = close;
        } else if (c == 'g' && next == '/') {
            ++i;
        } else if (c == 'g' && format.size() - i >= 7) {
            std::string word;
            for (size_t k = i; k < i + 7; ++k) word += lower(format[k]);
            if (word == "general") {
                i += 6;
                continue;
            }
            return true;
        } else if (c == 'e') {
            if (next == '+' || next == '-') {
                ++i;
                continue;
            }
            return true;
        } else if (c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's' || c == 'g') {
            return true;
        }
    }
    return false;
}

// The built-in formats that show dates and times, as Excel numbers them (27..36 and 50..58
// are the Japanese era and 年月日 forms).
bool isBuiltInDateFormat(uint16_t index) {
    return (index >= 14 && index <= 22) || (index >= 27 && index <= 36) ||
           (index >= 45 && index <= 47) || (index >= 50 && index <= 58);
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

class GsfSource final : public StreamSource {
public:
    // Takes the references it is given.
    GsfSource(GsfInfile* container, GsfInput* stream) : container_(container), stream_(stream) {}
    ~GsfSource() override {
        g_object_unref(stream_);
        g_object_unref(container_);
    }
    GsfSource(const GsfSource&) = delete;
    GsfSource& operator=(const GsfSource&) = delete;

    uint64_t size() const override {
        const gsf_off_t size = gsf_input_size(stream_);
        return size > 0 ? static_cast<uint64_t>(size) : 0;
    }
    bool read(uint64_t at, size_t size, uint8_t* to) override {
        if (gsf_input_seek(stream_, static_cast<gsf_off_t>(at), G_SEEK_SET)) return false;
        return gsf_input_read(stream_, size, to) != nullptr;
    }

private:
    GsfInfile* container_;
    GsfInput* stream_;
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
    bool atEnd() const { return next_ == size_; }

    // False at the end of the stream, and when a record runs past it.
    bool next(Record& record) {
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

private:
    static constexpr size_t kWindow = 1 << 18; // more than the largest record

    const uint8_t* bytes(uint64_t at, size_t size) {
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

    bool take(void* to, size_t size) {
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
    bool skip(uint64_t size) {
        while (size > 0) {
            if (at_ == size_ && !nextPart()) return false;
            const auto part = static_cast<size_t>(std::min<uint64_t>(size, size_ - at_));
            at_ += part;
            size -= part;
        }
        return true;
    }
    // `count` characters, one byte each or two; decoded into `out` unless it is null.
    bool characters(uint32_t count, bool wide, Utf8Builder* out) {
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

private:
    bool nextPart() {
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

    RecordStream& stream_;
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

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

struct SharedTextCell {
    int row, column;
    uint32_t index;
};

class BiffWorkbook final : public WorkbookReader {
public:
    explicit BiffWorkbook(std::unique_ptr<StreamSource> source) : stream_(std::move(source)) {}

    bool readGlobals();

    const std::vector<std::string>& sheetNames() const override { return names_; }
    DateSystem dateSystem() const override { return dateSystem_; }
    std::optional<WorksheetCells> readSheet(size_t sheet, int rowsKept) override;

private:
    bool readBoundSheet(const Record& record);
    void readFormat(const Record& record);
    std::string decodeName(const uint8_t* bytes, size_t count, bool wide);
    bool isDateXf(uint16_t xf) const;
    WorksheetCell numberCell(uint16_t xf, double value) const {
        return WorksheetCell{isDateXf(xf) ? CellKind::Date : CellKind::Number, false, value, 0, 0};
    }
    bool readCellText(const Record& record, Utf8Builder& text);
    void resolveSharedTexts(WorksheetCells& cells, std::vector<SharedTextCell>& shared);

    RecordStream stream_;
    bool biff8_ = true;
    DateSystem dateSystem_ = DateSystem::From1900;
    CodePageDecoder codePage_;
    std::vector<uint16_t> xfFormats_;
    std::vector<int8_t> formatIsDate_ = std::vector<int8_t>(0x10000, -1); // -1: built in
    std::optional<uint64_t> sharedStringsAt_;
    std::vector<std::string> names_;
    std::vector<uint64_t> sheetsAt_;
};

std::string BiffWorkbook::decodeName(const uint8_t* bytes, size_t count, bool wide) {
    Utf8Builder name(kMaxNameBytes);
    if (!biff8_)
        codePage_.decode(bytes, count, name);
    else
        for (size_t i = 0; i < count && !name.cut(); ++i)
            name.add(wide ? u16(bytes + 2 * i) : bytes[i]);
    name.finish();
    return name.text();
}

bool BiffWorkbook::readBoundSheet(const Record& r) {
    const size_t header = biff8_ ? 8 : 7;
    if (r.size < header) return false;
    const size_t count = r.data[6];
    const bool wide = biff8_ && (r.data[7] & 1);
    if (header + count * (wide ? 2 : 1) > r.size) return false;
    const uint8_t type = r.data[5];
    if (type != 0) return true; // charts and macro modules hold no cells to load
    sheetsAt_.push_back(u32(r.data));
    names_.push_back(decodeName(r.data + header, count, wide));
    return true;
}

void BiffWorkbook::readFormat(const Record& r) {
    if (r.size < 3) return;
    const uint16_t index = u16(r.data);
    std::string text;
    if (biff8_) {
        if (r.size < 5) return;
        const bool wide = r.data[4] & 1;
        const size_t fits = (r.size - 5) / (wide ? 2 : 1);
        text = decodeName(r.data + 5, std::min<size_t>(u16(r.data + 2), fits), wide);
    } else {
        text = decodeName(r.data + 3, std::min<size_t>(r.data[2], r.size - 3), false);
    }
    formatIsDate_[index] = isDateFormatText(text) ? 1 : 0;
}

bool BiffWorkbook::isDateXf(uint16_t xf) const {
    if (xf >= xfFormats_.size()) return false;
    const uint16_t format = xfFormats_[xf];
    const int8_t known = formatIsDate_[format];
    return known < 0 ? isBuiltInDateFormat(format) : known == 1;
}

bool BiffWorkbook::readGlobals() {
    Record r;
    if (!stream_.next(r) || r.id != kBof || r.size < 4) return false;
    const uint16_t version = u16(r.data);
    if ((version != kBiff8 && version != kBiff5) || u16(r.data + 2) != kGlobalsBof) return false;
    biff8_ = version == kBiff8;
    bool ended = false;
    while (!ended && stream_.next(r)) {
        switch (r.id) {
        case kEof:
            ended = true;
            break;
        case kFilePass:
            return false; // encrypted
        case kCodePage:
            if (r.size >= 2) codePage_.setCodePage(u16(r.data));
            break;
        case kDateMode:
            if (r.size >= 2)
                dateSystem_ = u16(r.data) == 1 ? DateSystem::From1904 : DateSystem::From1900;
            break;
        case kXf:
            xfFormats_.push_back(r.size >= 4 ? u16(r.data + 2) : 0);
            break;
        case kFormat:
            readFormat(r);
            break;
        case kBoundSheet:
            if (!readBoundSheet(r)) return false;
            break;
        case kSst:
            if (!sharedStringsAt_) sharedStringsAt_ = r.at;
            break;
        default:
            break;
        }
    }
    if (!ended || names_.empty()) return false;
    // Every worksheet the directory names must start where it says.
    for (uint64_t at : sheetsAt_) {
        stream_.seek(at);
        if (!stream_.next(r) || r.id != kBof || r.size < 4 || u16(r.data + 2) != kWorksheetBof)
            return false;
    }
    return true;
}

bool BiffWorkbook::readCellText(const Record& r, Utf8Builder& text) {
    if (biff8_) {
        if (r.size < 9) return false;
        const size_t count = u16(r.data + 6);
        const bool wide = r.data[8] & 1;
        if (9 + count * (wide ? 2 : 1) > r.size) return false;
        for (size_t i = 0; i < count && !text.cut(); ++i)
            text.add(wide ? u16(r.data + 9 + 2 * i) : r.data[9 + i]);
        text.finish();
        return true;
    }
    if (r.size < 8) return false;
    const size_t count = u16(r.data + 6);
    if (8 + count > r.size) return false;
    codePage_.decode(r.data + 8, count, text);
    return true;
}

std::optional<WorksheetCells> BiffWorkbook::readSheet(size_t sheet, int rowsKept) {
    if (sheet >= sheetsAt_.size()) return std::nullopt;
    WorksheetCells cells(rowsKept);
    cells.setDateSystem(dateSystem_);
    const WorksheetCell damaged{CellKind::Error, false, kDamagedCellCode, 0, 0};
    std::vector<SharedTextCell> shared;
    stream_.seek(sheetsAt_[sheet]);
    Record r;
    if (!stream_.next(r) || r.id != kBof) return std::nullopt;

    int depth = 0; // charts and other objects inside the sheet have their own BOF .. EOF
    bool ended = false;
    int pendingRow = -1, pendingColumn = -1; // a formula whose text result comes next
    while (!ended && stream_.next(r)) {
        if (r.id == kBof) {
            ++depth;
            continue;
        }
        if (r.id == kEof) {
            ended = depth == 0;
            --depth;
            continue;
        }
        if (depth > 0) continue;

        const bool isCell = r.id == kNumber || r.id == kRk || r.id == kMulRk || r.id == kLabelSst ||
                            r.id == kLabel || r.id == kRichString || r.id == kBlank ||
                            r.id == kMulBlank || r.id == kBoolErr || r.id == kFormula;
        if (!isCell && r.id != kString) continue;
        if (r.id == kString) {
            if (pendingRow < 0) continue;
            ContinuedRecord in(stream_, r);
            Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
            bool read = false;
            if (biff8_) {
                read = readUnicodeString(in, false, &text);
            } else if (r.size >= 2 && 2 + size_t(u16(r.data)) <= r.size) {
                codePage_.decode(r.data + 2, u16(r.data), text);
                read = true;
            }
            if (read) cells.setText(pendingRow, pendingColumn, text.text(), text.cut());
            pendingRow = pendingColumn = -1;
            continue;
        }
        pendingRow = pendingColumn = -1;
        if (r.size < 6) return std::nullopt;
        const int row = u16(r.data), column = u16(r.data + 2);
        const uint16_t xf = u16(r.data + 4);
        switch (r.id) {
        case kNumber:
            if (r.size < 14) return std::nullopt;
            cells.set(row, column, numberCell(xf, f64(r.data + 6)));
            break;
        case kRk:
            if (r.size < 10) return std::nullopt;
            cells.set(row, column, numberCell(xf, rkValue(u32(r.data + 6))));
            break;
        case kMulRk: {
            const size_t count = (r.size - 6) / 6;
            for (size_t i = 0; i < count; ++i) {
                const uint8_t* entry = r.data + 4 + 6 * i;
                cells.set(row, column + static_cast<int>(i),
                          numberCell(u16(entry), rkValue(u32(entry + 2))));
            }
            break;
        }
        case kLabelSst:
            if (r.size < 10) return std::nullopt;
            cells.noteColumn(column);
            if (cells.keeps(row, column)) shared.push_back({row, column, u32(r.data + 6)});
            break;
        case kLabel:
        case kRichString: {
            cells.noteColumn(column);
            if (!cells.keeps(row, column)) break;
            Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
            if (!readCellText(r, text)) return std::nullopt;
            cells.setText(row, column, text.text(), text.cut());
            break;
        }
        case kBlank:
            cells.noteColumn(column);
            break;
        case kMulBlank:
            cells.noteColumn(std::max<int>(column, u16(r.data + r.size - 2)));
            break;
        case kBoolErr:
            if (r.size < 8) return std::nullopt;
            cells.set(row, column,
                      WorksheetCell{r.data[7] ? CellKind::Error : CellKind::Boolean, false,
                                    double(r.data[6]), 0, 0});
            break;
        case kFormula: {
            if (r.size < 20) return std::nullopt;
            const uint8_t* result = r.data + 6;
            if (u16(result + 6) != 0xFFFF) {
                cells.set(row, column, numberCell(xf, f64(result)));
                break;
            }
            switch (result[0]) {
            case 0: // the text follows in a STRING record
                cells.set(row, column, damaged);
                if (cells.keeps(row, column)) {
                    pendingRow = row;
                    pendingColumn = column;
                }
                break;
            case 1:
                cells.set(row, column,
                          WorksheetCell{CellKind::Boolean, false, double(result[2] != 0), 0, 0});
                break;
            case 2:
                cells.set(row, column,
                          WorksheetCell{CellKind::Error, false, double(result[2]), 0, 0});
                break;
            case 3:
                cells.setText(row, column, {});
                break;
            default:
                cells.set(row, column, damaged);
                break;
            }
            break;
        }
        default:
            break;
        }
    }
    if (!ended) return std::nullopt;
    resolveSharedTexts(cells, shared);
    return cells;
}

// Shared strings are looked up once the sheet is read, so that only those its kept cells use
// are decoded, in one pass over the table.
void BiffWorkbook::resolveSharedTexts(WorksheetCells& cells, std::vector<SharedTextCell>& shared) {
    if (shared.empty()) return;
    std::vector<uint32_t> wanted;
    wanted.reserve(shared.size());
    for (const SharedTextCell& cell : shared) wanted.push_back(cell.index);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    struct Stored {
        uint32_t at = 0, size = 0;
        bool cut = false, found = false;
    };
    std::vector<Stored> stored(wanted.size());

    Record r;
    if (sharedStringsAt_) {
        stream_.seek(*sharedStringsAt_);
        if (stream_.next(r) && r.id == kSst) {
            ContinuedRecord in(stream_, r);
            size_t next = 0; // the next wanted one
            if (in.skip(8)) {
                for (uint64_t index = 0; next < wanted.size(); ++index) {
                    const bool want = index == wanted[next];
                    Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
                    if (!readUnicodeString(in, true, want ? &text : nullptr)) break;
                    if (!want) continue;
                    stored[next] = {cells.storeText(text.text()),
                                    static_cast<uint32_t>(text.text().size()), text.cut(), true};
                    ++next;
                }
            }
        }
    }
    const WorksheetCell damaged{CellKind::Error, false, kDamagedCellCode, 0, 0};
    for (const SharedTextCell& cell : shared) {
        const size_t i = static_cast<size_t>(
            std::lower_bound(wanted.begin(), wanted.end(), cell.index) - wanted.begin());
        if (stored[i].found)
            cells.setStoredText(cell.row, cell.column, stored[i].at, stored[i].size, stored[i].cut);
        else
            cells.set(cell.row, cell.column, damaged);
    }
}

std::unique_ptr<WorkbookReader> openStream(std::unique_ptr<StreamSource> source) {
    auto workbook = std::make_unique<BiffWorkbook>(std::move(source));
    if (!workbook->readGlobals()) return nullptr;
    return workbook;
}

// Takes the reference to `input`.
std::unique_ptr<WorkbookReader> openCompoundFile(GsfInput* input) {
    GError* error = nullptr;
    GsfInfile* container = gsf_infile_msole_new(input, &error);
    g_object_unref(input);
    if (!container) {
        g_clear_error(&error);
        return nullptr;
    }
    // Excel 97 names its stream "Workbook", Excel 95 "Book".
    const int children = gsf_infile_num_children(container);
    for (const char* wanted : {"Workbook", "Book"}) {
        for (int i = 0; i < children; ++i) {
            const char* name = gsf_infile_name_by_index(container, i);
            if (!name || g_ascii_strcasecmp(name, wanted) != 0) continue;
            GsfInput* stream = gsf_infile_child_by_index(container, i);
            if (!stream) continue;
            return openStream(std::make_unique<GsfSource>(container, stream));
        }
    }
    g_object_unref(container);
    return nullptr;
}

} // namespace

std::unique_ptr<WorkbookReader> WorkbookReader::openFile(int fd) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
    const int own = dup(fd);
    if (own < 0) return nullptr;
    std::FILE* file = fdopen(own, "rb");
    if (!file) {
        close(own);
        return nullptr;
    }
    GsfInput* input = gsf_input_stdio_new_FILE("workbook", file, FALSE);
    if (!input) {
        std::fclose(file);
        return nullptr;
    }
    return openCompoundFile(input);
}

std::unique_ptr<WorkbookReader> WorkbookReader::openBytes(std::string_view bytes) {
    static constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    if (bytes.substr(0, kCompoundFile.size()) != kCompoundFile)
        return openStream(std::make_unique<MemorySource>(bytes));
    GsfInput* input = gsf_input_memory_new_clone(reinterpret_cast<const guint8*>(bytes.data()),
                                                 static_cast<gsf_off_t>(bytes.size()));
    if (!input) return nullptr;
    return openCompoundFile(input);
}

} // namespace nimbrel
