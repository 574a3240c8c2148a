#include "platform/Spreadsheet.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The workbook library trusts sizes and counts it reads from the file, and a malformed
// workbook can make it read past its buffers or crash. It therefore runs in a child process
// that sends the cells the loader needs through a pipe: whatever the file does to the library,
// the program only sees a workbook it cannot read.

namespace {

// The loader reads columns A to F and at most the heading row and one day past the last.
constexpr int kColumnsRead = 6;
constexpr int kRowsRead = 15002;
constexpr auto kReadTimeLimit = std::chrono::seconds(20);

enum class ChildStatus : char { Opened = 'O', CannotRead = 'R', NoSuchSheet = 'S' };

class CellWriter {
public:
    void byte(char value) { out_.push_back(value); }
    template <typename T> void value(T v) {
        out_.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    void text(const char* text) {
        const uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
        value(length);
        out_.append(text ? text : "", length);
    }
    const std::string& bytes() const { return out_; }

private:
    std::string out_;
};

class CellReader {
public:
    explicit CellReader(std::string_view in) : in_(in) {}
    bool byte(char& value) { return take(&value, 1); }
    template <typename T> bool value(T& v) { return take(&v, sizeof v); }
    bool text(std::string_view& text) {
        uint32_t length = 0;
        if (!value(length) || length > in_.size() - at_) return false;
        text = in_.substr(at_, length);
        at_ += length;
        return true;
    }

private:
    bool take(void* to, size_t size) {
        if (size > in_.size() - at_) return false;
        std::memcpy(to, in_.data() + at_, size);
        at_ += size;
        return true;
    }
    std::string_view in_;
    size_t at_ = 0;
};

void writeCell(const void* handle, unsigned row, unsigned short column, CellWriter& out) {
    FreeXL_CellValue value;
    if (freexl_get_cell_value(handle, row, column, &value) != FREEXL_OK) {
        out.byte('E');
        return;
    }
    int year = 0, month = 0, day = 0;
    switch (value.type) {
    case FREEXL_CELL_INT:
        out.byte('N');
        out.value(static_cast<double>(value.value.int_value));
        return;
    case FREEXL_CELL_DOUBLE:
        out.byte('N');
        out.value(value.value.double_value);
        return;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
        // "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"
        if (value.value.text_value &&
            std::sscanf(value.value.text_value, "%d-%d-%d", &year, &month, &day) == 3) {
            out.byte('D');
            out.value(int32_t(year));
            out.value(int32_t(month));
            out.value(int32_t(day));
            return;
        }
        [[fallthrough]];
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_TIME:
        out.byte('T');
        out.text(value.value.text_value);
        return;
    default:
        out.byte('E');
        return;
    }
}

// In the child: the worksheet's size and cells, or why there are none.
CellWriter readWorkbook(const QString& path, const QString& sheetName) {
    CellWriter out;
    const void* handle = nullptr;
    unsigned int info = 0, sheetCount = 0;
    if (freexl_open(QFile::encodeName(path).constData(), &handle) != FREEXL_OK ||
        freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED ||
        freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK) {
        out.byte(char(ChildStatus::CannotRead));
        return out;
    }
    for (unsigned int index = 0; index < sheetCount && index <= 0xFFFF; ++index) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(index), &name) !=
                FREEXL_OK ||
            !name || QString::fromUtf8(name).compare(sheetName, Qt::CaseInsensitive) != 0)
            continue;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) !=
                FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            out.byte(char(ChildStatus::CannotRead));
            return out;
        }
        const int rowsSent = static_cast<int>(std::min<unsigned>(rows, kRowsRead));
        const int columnsSent = std::min<int>(columns, kColumnsRead);
        out.byte(char(ChildStatus::Opened));
        out.value(int32_t(rowsSent));
        out.value(int32_t(columns));
        for (int row = 0; row < rowsSent; ++row)
            for (int column = 0; column < columnsSent; ++column)
                writeCell(handle, static_cast<unsigned>(row), static_cast<unsigned short>(column),
                          out);
        return out;
    }
    out.byte(char(ChildStatus::NoSuchSheet));
    return out;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// In the parent: everything the child sends, until it closes the pipe or takes too long.
bool readAll(int fd, std::string& bytes) {
    const auto deadline = std::chrono::steady_clock::now() + kReadTimeLimit;
    char buffer[65536];
    bytes.reserve(1 << 21); // a full sheet of days is about 1.5 MB
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

class ReceivedSheet final : public Spreadsheet {
public:
    int rowCount() const override { return rows_; }
    int columnCount() const override { return columns_; }
    const SheetCell& cell(int row, int column) const override {
        static const SheetCell kEmpty;
        if (row < 0 || row >= rows_ || column < 0 || column >= std::min(columns_, kColumnsRead))
            return kEmpty;
        return cells_[static_cast<size_t>(row) *
                          static_cast<size_t>(std::min(columns_, kColumnsRead)) +
                      static_cast<size_t>(column)];
    }

    // Takes the child's bytes; the cells' texts stay in them.
    bool receive(std::string bytes) {
        bytes_ = std::move(bytes);
        CellReader in(bytes_);
        char status = 0;
        if (!in.byte(status) || status != char(ChildStatus::Opened)) return false;
        int32_t rows = 0, columns = 0;
        if (!in.value(rows) || !in.value(columns) || rows < 0 || rows > kRowsRead || columns < 0)
            return false;
        rows_ = rows;
        columns_ = columns;
        cells_.resize(static_cast<size_t>(rows) *
                      static_cast<size_t>(std::min(columns, kColumnsRead)));
        for (SheetCell& cell : cells_) {
            char kind = 0;
            if (!in.byte(kind)) return false;
            if (kind == 'N') {
                cell.kind = SheetCell::Kind::Number;
                if (!in.value(cell.number)) return false;
            } else if (kind == 'D') {
                cell.kind = SheetCell::Kind::Date;
                int32_t year, month, day;
                if (!in.value(year) || !in.value(month) || !in.value(day)) return false;
                cell.year = year;
                cell.month = month;
                cell.day = day;
            } else if (kind == 'T') {
                cell.kind = SheetCell::Kind::Text;
                if (!in.text(cell.text)) return false;
            } else if (kind != 'E') {
                return false;
            }
        }
        return true;
    }

private:
    std::string bytes_;
    int rows_ = 0;
    int columns_ = 0;
    std::vector<SheetCell> cells_;
};

} // namespace

SheetOpenResult openWorksheet(const QString& path, const QString& sheetName) {
    SheetOpenResult result;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return result;
    }
    result.status = SheetOpenStatus::CannotRead;
    int channel[2];
    if (pipe(channel) != 0) return result;
    const pid_t child = fork();
    if (child == 0) {
        // A workbook that crashes the library leaves no core file behind in the user's folder.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        close(channel[0]);
        const bool sent = writeAll(channel[1], readWorkbook(path, sheetName).bytes());
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string bytes;
    const bool received = child > 0 && readAll(channel[0], bytes);
    close(channel[0]);
    if (child > 0) {
        if (!received) kill(child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return result;
    }
    if (child < 0) return result;

    if (bytes.empty()) return result;
    if (bytes.front() == char(ChildStatus::NoSuchSheet))
        result.status = SheetOpenStatus::NoSuchSheet;
    if (bytes.front() != char(ChildStatus::Opened)) return result;
    auto sheet = std::make_unique<ReceivedSheet>();
    if (!sheet->receive(std::move(bytes))) return result;
    result.status = SheetOpenStatus::Opened;
    result.sheet = std::move(sheet);
    return result;
}
