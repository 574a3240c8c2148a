#include "workbook/ZipPackage.h"

#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-input.h>

#include <algorithm>

namespace nimbrel::xlsx {

namespace {

constexpr gsf_off_t kChunkBytes = 64 * 1024;

// The child of `folder` named `name`: the exact name first, else the first that differs only
// in case, as part names are compared without regard to case.
GsfInput* childNamed(GsfInfile* folder, const std::string& name) {
    const int children = gsf_infile_num_children(folder);
    int found = -1;
    for (int i = 0; i < children; ++i) {
        const char* childName = gsf_infile_name_by_index(folder, i);
        if (!childName) continue;
        if (name == childName) {
            found = i;
            break;
        }
        if (found < 0 && g_ascii_strcasecmp(name.c_str(), childName) == 0) found = i;
    }
    return found < 0 ? nullptr : gsf_infile_child_by_index(folder, found);
}

bool isFolder(GsfInput* input) {
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

} // namespace

PartBytes::PartBytes(GsfInput* member, GsfInput* source, uint64_t containerBytes)
    : member_(member), source_(source), containerBytes_(containerBytes) {
    if (source_) sourceStart_ = gsf_input_tell(source_);
}

PartBytes::~PartBytes() {
    if (source_) g_object_unref(source_);
    g_object_unref(member_);
}

// Libgsf inflates no more than the size the zip declares, so a declared size within the
// limits bounds what the part can become; the ratio is checked as it inflates, against the
// compressed bytes really read, because a small part of a large file may claim a modest size.
ChunkSource::Status PartBytes::appendTo(std::string& to) {
    const auto declared = static_cast<uint64_t>(std::max<gsf_off_t>(gsf_input_size(member_), 0));
    if (declared > kMaxPartBytes ||
        (declared > kRatioCheckedFrom && declared > kMaxRatio * containerBytes_))
        return Status::Refused;
    const gsf_off_t left = gsf_input_remaining(member_);
    if (left <= 0) return Status::End;
    const auto size = static_cast<size_t>(std::min(left, kChunkBytes));
    const size_t from = to.size();
    to.resize(from + size);
    if (!gsf_input_read(member_, size, reinterpret_cast<guint8*>(to.data() + from)))
        return Status::Refused;
    inflated_ += static_cast<uint64_t>(size);
    if (inflated_ > kRatioCheckedFrom && inflated_ > kMaxRatio * compressedRead())
        return Status::Refused;
    return Status::Data;
}

// The container reads a part's compressed bytes through a source of its own, so how far that
// source has moved is what the part has taken of the file so far.
uint64_t PartBytes::compressedRead() const {
    if (!source_) return containerBytes_;
    return static_cast<uint64_t>(std::max<gsf_off_t>(gsf_input_tell(source_) - sourceStart_, 1));
}

std::unique_ptr<ZipPackage> ZipPackage::open(GsfInput* input) {
    const gsf_off_t size = gsf_input_size(input);
    GError* error = nullptr;
    GsfInfile* zip = gsf_infile_zip_new(input, &error);
    g_object_unref(input);
    if (!zip) {
        g_clear_error(&error);
        return nullptr;
    }
    return std::unique_ptr<ZipPackage>(new ZipPackage(zip, static_cast<uint64_t>(size)));
}

ZipPackage::~ZipPackage() {
    g_object_unref(zip_);
}

GsfInput* ZipPackage::member(std::string_view part) const {
    GsfInfile* folder = zip_;
    g_object_ref(folder);
    for (size_t at = 0;;) {
        const size_t slash = part.find('/', at);
        const bool last = slash == std::string_view::npos;
        GsfInput* child =
            childNamed(folder, std::string(part.substr(at, last ? part.npos : slash - at)));
        g_object_unref(folder);
        if (!child) return nullptr;
        if (last && !isFolder(child)) return child;
        if (last || !isFolder(child)) {
            g_object_unref(child);
            return nullptr;
        }
        folder = GSF_INFILE(child);
        at = slash + 1;
    }
}

bool ZipPackage::has(std::string_view part) const {
    GsfInput* found = member(part);
    if (found) g_object_unref(found);
    return found != nullptr;
}

std::unique_ptr<PartBytes> ZipPackage::read(std::string_view part) const {
    GsfInput* found = member(part);
    if (!found) return nullptr;
    GsfInput* source = nullptr;
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(found), "source"))
        g_object_get(found, "source", &source, nullptr);
    return std::make_unique<PartBytes>(found, source, bytes_);
}

} // namespace nimbrel::xlsx
