#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct FT_SizeRec_;

namespace nimbrel {

// A glyph as a monochrome bitmap: a bit a pixel, the first the most significant, rows top down
// `pitch` bytes apart; its top left corner `left` pixels right of the pen and `top` above the
// baseline.
struct GlyphBitmap {
    int left = 0, top = 0;
    int width = 0, rows = 0, pitch = 0;
    std::vector<uint8_t> bits;
    bool inked(int x, int y) const {
        return (bits[size_t(y) * size_t(pitch) + size_t(x / 8)] & (0x80 >> (x % 8))) != 0;
    }
};

// A face read from its font file through FreeType, measured and drawn as the window's text
// engine (Qt's, over FreeType) measures and draws it without anti-aliasing: at whole pixel
// sizes, advancing by the face's design widths, its ascent and descent those of its OS/2
// table, its glyphs hinted for monochrome up to 64 pixels and above that drawn from the exact
// outline at the pen's position.
class GlyphFace {
public:
    // The face of a font file; null when FreeType cannot read it.
    static std::unique_ptr<GlyphFace> open(const std::filesystem::path& file);
    ~GlyphFace();
    GlyphFace(const GlyphFace&) = delete;
    GlyphFace& operator=(const GlyphFace&) = delete;

    // A character's glyph (0, the face's box for a missing one) and its advance in 64ths of a
    // pixel.
    struct Character {
        uint32_t glyph = 0;
        int32_t advance = -1; // not looked up yet
    };

    // The face at one pixel size, keeping what it was asked for: a pass measures and prints
    // the same few characters again and again.
    class Size {
    public:
        Size(FT_FaceRec_* face, int pixels);
        ~Size();
        Size(const Size&) = delete;
        Size& operator=(const Size&) = delete;

        int pixels() const { return pixels_; }
        // In 64ths of a pixel.
        int ascent() const { return ascent_; }
        int descent() const { return descent_; }
        const Character& character(char32_t c);
        // Above 64 pixels the window's engine draws a glyph's outline where the pen stands,
        // not a bitmap hinted for the size.
        bool outlined() const { return pixels_ > 64; }
        const GlyphBitmap& hinted(uint32_t glyph);
        // The outline with the pen a fraction of a pixel (64ths) right of and below the
        // whole pixel its bitmap is placed from.
        GlyphBitmap outline(uint32_t glyph, int fractionX, int fractionY);

    private:
        FT_FaceRec_* face_;
        FT_SizeRec_* size_ = nullptr;
        int pixels_;
        int ascent_ = 0, descent_ = 0;
        std::array<Character, 128> ascii_{};
        std::unordered_map<char32_t, Character> others_;
        std::unordered_map<uint32_t, GlyphBitmap> hinted_;
    };

    // Made on first use and kept.
    Size& size(int pixels);

private:
    GlyphFace() = default;

    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
    std::vector<std::unique_ptr<Size>> sizes_;
};

} // namespace nimbrel
