#include "picture/GlyphFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nimbrel {

namespace {

// As the window's engine loads glyphs to draw without anti-aliasing: hinted for monochrome,
// the advance of each glyph its own.
constexpr FT_Int32 kHintedLoad =
    FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_TARGET_MONO;
constexpr FT_Int32 kOutlineLoad =
    FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;

// A size of the face in 64ths of a pixel, as the window's engine rounds it.
int scaled(double fontUnits, int pixels, int unitsPerEm) {
    return static_cast<int>(std::lround(fontUnits * pixels / unitsPerEm * 64));
}

// The glyph just rendered in the face's slot; empty if there is none.
GlyphBitmap renderedBitmap(FT_Face face) {
    GlyphBitmap bitmap;
    FT_GlyphSlot slot = face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 ||
        slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return bitmap;
    bitmap.left = slot->bitmap_left;
    bitmap.top = slot->bitmap_top;
    bitmap.width = static_cast<int>(slot->bitmap.width);
    bitmap.rows = static_cast<int>(slot->bitmap.rows);
    bitmap.pitch = (bitmap.width + 7) / 8;
    bitmap.bits.resize(size_t(bitmap.pitch) * size_t(bitmap.rows));
    for (int row = 0; row < bitmap.rows; ++row)
        std::memcpy(bitmap.bits.data() + size_t(row) * size_t(bitmap.pitch),
                    slot->bitmap.buffer + ptrdiff_t(row) * slot->bitmap.pitch,
                    size_t(bitmap.pitch));
    return bitmap;
}

} // namespace

std::unique_ptr<GlyphFace> GlyphFace::open(const std::filesystem::path& file) {
    std::unique_ptr<GlyphFace> face(new GlyphFace);
    if (FT_Init_FreeType(&face->library_) != 0) return nullptr;
    if (FT_New_Face(face->library_, file.c_str(), 0, &face->face_) != 0 ||
        !FT_IS_SCALABLE(face->face_) || FT_Select_Charmap(face->face_, FT_ENCODING_UNICODE) != 0)
        return nullptr;
    return face;
}

GlyphFace::~GlyphFace() {
    sizes_.clear();
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

GlyphFace::Size& GlyphFace::size(int pixels) {
    for (const std::unique_ptr<Size>& size : sizes_)
        if (size->pixels() == pixels) return *size;
    sizes_.push_back(std::make_unique<Size>(face_, pixels));
    return *sizes_.back();
}

GlyphFace::Size::Size(FT_Face face, int pixels) : face_(face), pixels_(pixels) {
    FT_New_Size(face_, &size_);
    FT_Activate_Size(size_);
    FT_Set_Char_Size(face_, pixels * 64, pixels * 64, 0, 0);
    // The lines of the face by its OS/2 table's Windows metrics, or by its horizontal header
    // where it has no OS/2 table.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const bool windows = os2 && os2->version != 0xFFFF;
    ascent_ = scaled(windows ? os2->usWinAscent : face_->ascender, pixels, face_->units_per_EM);
    descent_ = scaled(windows ? os2->usWinDescent : -face_->descender, pixels, face_->units_per_EM);
}

GlyphFace::Size::~Size() {
    if (size_) FT_Done_Size(size_);
}

const GlyphFace::Character& GlyphFace::Size::character(char32_t c) {
    Character& character = c < ascii_.size() ? ascii_[c] : others_[c];
    if (character.advance < 0) {
        FT_Activate_Size(size_);
        character.glyph = FT_Get_Char_Index(face_, c);
        // The design width at the size, in 16.16: what the window's engine advances by.
        FT_Fixed advance = 0;
        FT_Get_Advance(face_, character.glyph, FT_LOAD_NO_HINTING, &advance);
        character.advance = static_cast<int32_t>(advance >> 10);
    }
    return character;
}

const GlyphBitmap& GlyphFace::Size::hinted(uint32_t glyph) {
    const auto known = hinted_.find(glyph);
    if (known != hinted_.end()) return known->second;
    FT_Activate_Size(size_);
    GlyphBitmap bitmap;
    if (FT_Load_Glyph(face_, glyph, kHintedLoad) == 0) bitmap = renderedBitmap(face_);
    return hinted_.emplace(glyph, std::move(bitmap)).first->second;
}

GlyphBitmap GlyphFace::Size::outline(uint32_t glyph, int fractionX, int fractionY) {
    FT_Activate_Size(size_);
    if (FT_Load_Glyph(face_, glyph, kOutlineLoad) != 0 ||
        face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return {};
    FT_Outline_Translate(&face_->glyph->outline, fractionX, -fractionY);
    return renderedBitmap(face_);
}

} // namespace nimbrel
