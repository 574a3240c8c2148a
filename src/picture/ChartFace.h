#pragma once

#include "picture/GlyphFace.h"
#include "system/Message.h"

#include <filesystem>
#include <string>
#include <vector>

namespace nimbrel {

// The file of the chart's face, IPAMincho (the face the window's Qt draws ＭＳ 明朝 with): where
// Debian's fonts-ipafont-mincho puts it, otherwise the first ipam.ttf in the font folders
// fontconfig reads by default, of the user and of the system, without reading fontconfig's
// configuration. Empty when there is none.
std::filesystem::path chartFontFile();

// The first file named `name` among `places`, each a file or a folder searched with its
// subfolders; empty when there is none.
std::filesystem::path fontFileIn(const std::vector<std::filesystem::path>& places,
                                 const std::string& name);

// The chart's face, read on first use and kept for the process: every picture shares its
// glyphs. Null, with the message that says why, when its file is missing or unreadable.
GlyphFace* chartFace(Message& problem);

} // namespace nimbrel
