#include "picture/ChartFace.h"

#include "system/FileAccess.h"

#include <cstdlib>
#include <system_error>

namespace nimbrel {

namespace {

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

} // namespace

std::filesystem::path fontFileIn(const std::vector<std::filesystem::path>& places,
                                 const std::string& name) {
    std::error_code error;
    for (const std::filesystem::path& place : places) {
        if (place.filename() == name && std::filesystem::is_regular_file(place, error))
            return place;
        if (!std::filesystem::is_directory(place, error)) continue;
        const auto options = std::filesystem::directory_options::follow_directory_symlink |
                             std::filesystem::directory_options::skip_permission_denied;
        for (std::filesystem::recursive_directory_iterator file(place, options, error), end;
             !error && file != end; file.increment(error)) {
            if (file->path().filename() == name && file->is_regular_file(error))
                return file->path();
        }
    }
    return {};
}

std::filesystem::path chartFontFile() {
    const std::filesystem::path home = environmentPath("HOME");
    std::filesystem::path dataHome = environmentPath("XDG_DATA_HOME");
    if (dataHome.empty() && !home.empty()) dataHome = home / ".local/share";
    std::vector<std::filesystem::path> places = {
        "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"};
    if (!dataHome.empty()) places.push_back(dataHome / "fonts");
    if (!home.empty()) places.push_back(home / ".fonts");
    places.insert(places.end(), {"/usr/local/share/fonts", "/usr/share/fonts"});
    return fontFileIn(places, "ipam.ttf");
}

GlyphFace* chartFace(Message& problem) {
    static const std::filesystem::path file = chartFontFile();
    static const std::unique_ptr<GlyphFace> face = file.empty() ? nullptr : GlyphFace::open(file);
    if (file.empty())
        problem = {QStringLiteral("エラー"),
                   QStringLiteral("グラフのフォント IPAMincho (ipam.ttf) がありません\n"
                                  "fonts-ipafont-mincho を入れて下さい"),
                   MessageIcon::Exclamation};
    else if (!face)
        problem = {QStringLiteral("エラー"),
                   QStringLiteral("フォントを読めません\n") +
                       decodeFileName(QByteArray(file.c_str())),
                   MessageIcon::Exclamation};
    return face.get();
}

} // namespace nimbrel
