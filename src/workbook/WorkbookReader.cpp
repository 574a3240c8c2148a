#include "workbook/WorkbookReader.h"

#include "workbook/BiffWorkbook.h"
#include "workbook/XlsxWorkbook.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

using biff::MemorySource;
using biff::StreamSource;

namespace {

// A stream of a compound file, read through libgsf.
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
            return openBiffWorkbook(std::make_unique<GsfSource>(container, stream));
        }
    }
    g_object_unref(container);
    return nullptr;
}

// What a file is, from its first bytes: its name may say anything.
constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kZip = "PK\x03\x04";

} // namespace

std::unique_ptr<WorkbookReader> WorkbookReader::openFile(int fd) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
    char head[8];
    const ssize_t got = pread(fd, head, sizeof head, 0);
    const std::string_view start(head, got > 0 ? static_cast<size_t>(got) : 0);
    const bool compound = start.starts_with(kCompoundFile), zip = start.starts_with(kZip);
    if (!compound && !zip) return nullptr;
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
    return compound ? openCompoundFile(input) : openXlsxWorkbook(input);
}

std::unique_ptr<WorkbookReader> WorkbookReader::openBytes(std::string_view bytes) {
    const bool compound = bytes.starts_with(kCompoundFile), zip = bytes.starts_with(kZip);
    if (!compound && !zip) return openBiffWorkbook(std::make_unique<MemorySource>(bytes));
    GsfInput* input = gsf_input_memory_new_clone(reinterpret_cast<const guint8*>(bytes.data()),
                                                 static_cast<gsf_off_t>(bytes.size()));
    if (!input) return nullptr;
    return compound ? openCompoundFile(input) : openXlsxWorkbook(input);
}

} // namespace nimbrel
