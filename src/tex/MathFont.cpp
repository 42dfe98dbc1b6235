#include "tex/MathFont.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstring>
#include <string>
#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <hb.h>

namespace tex {
namespace {

// Where Debian's fonts-lmodern puts the fonts, used when fontconfig does not know them.
constexpr const char* mg_szMathFallback =
    "/usr/share/texmf/fonts/opentype/public/lm-math/latinmodern-math.otf";
constexpr const char* mg_szTextFolderFallback = "/usr/share/texmf/fonts/opentype/public/lm/";
constexpr const char* mg_szDejaVuFolderFallback = "/usr/share/fonts/truetype/dejavu/";

struct FONT_SOURCE {
    const char* m_szFamily;  // fontconfig family to ask for
    const char* m_szFile;    // the file we want among the family's faces
};

constexpr FONT_SOURCE mg_arrSources[TEXFONT_COUNT] = {
    {"Latin Modern Math", "latinmodern-math.otf"},
    {"LM Roman 10", "lmroman10-regular.otf"},
    {"LM Roman 10", "lmroman10-bold.otf"},
    {"LM Roman 10", "lmroman10-italic.otf"},
    {"LM Sans 10", "lmsans10-regular.otf"},
    {"LM Mono 10", "lmmono10-regular.otf"},
    {"DejaVu Serif", "DejaVuSerif.ttf"},
    {"DejaVu Sans", "DejaVuSans.ttf"},
};

// Where a text font looks for letters it lacks, in order: DejaVu Serif first,
// so that a Greek or Cyrillic word is set in one face; the math font for symbols.
constexpr TexFontId mg_arrFallbacks[] = {TEXFONT_SERIF_OTHER, TEXFONT_SANS_OTHER, TEXFONT_MATH};

// Past this many cached rasters the cache starts over; a few thousand glyphs
// cover every size a screen shows.
constexpr size_t mg_nBitmapCacheLimit = 20000;

bool FileExists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

const char* BaseName(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// Asks fontconfig for the faces of the family and picks the one stored in the
// wanted file, so that an optical size or weight of the same family is never
// taken by mistake. Empty when fontconfig has no such file.
std::string FindWithFontconfig(FcConfig* config, const FONT_SOURCE& source)
{
    std::string found;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(source.m_szFamily));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(config, pattern, objects);
    if (set) {
        for (int i = 0; i < set->nfont && found.empty(); ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file &&
                std::strcmp(BaseName(reinterpret_cast<const char*>(file)), source.m_szFile) == 0)
                found = reinterpret_cast<const char*>(file);
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

std::string LocateFont(FcConfig* config, TexFontId id)
{
    const FONT_SOURCE& source = mg_arrSources[id];
    std::string path = config ? FindWithFontconfig(config, source) : std::string();
    if (!path.empty() && FileExists(path))
        return path;
    if (id == TEXFONT_MATH)
        path = mg_szMathFallback;
    else if (id >= TEXFONT_SERIF_OTHER)
        path = std::string(mg_szDejaVuFolderFallback) + source.m_szFile;
    else
        path = std::string(mg_szTextFolderFallback) + source.m_szFile;
    return FileExists(path) ? path : std::string();
}

struct FONT_SLOT {
    FT_Face m_pFace = nullptr;
    hb_face_t* m_pHbFace = nullptr;
    hb_font_t* m_pHbFont = nullptr;
    double m_dUnitsPerEm = 1000;
    bool ok() const { return m_pFace && m_pHbFont; }
};

struct BitmapKey {
    uint64_t m_nValue;
    bool operator==(const BitmapKey& other) const { return m_nValue == other.m_nValue; }
};

struct BitmapKeyHash {
    size_t operator()(const BitmapKey& key) const { return std::hash<uint64_t>()(key.m_nValue); }
};

// One bit per pixel: FreeType's monochrome rasteriser with grid fitting by
// its auto-hinter. Stems and bars land on whole pixels (the two bars of a
// script '=' stay apart, which the fonts' own sparse hints do not ensure),
// and its dropout control keeps the hairlines of Latin Modern that a
// thresholded grey render loses at these sizes (the upright of '+', serifs,
// thin italics).
// Coverage: anti-aliased with light hinting. Heights snap to the pixel grid
// (sharp baselines, x-heights and bars), widths keep their true proportions,
// and the pen may sit nPhase quarters of a pixel off the grid.
void RenderGlyph(FT_Face face, uint32_t glyph, long size26, TexGlyphMode mode, int nPhase, GLYPH_BITMAP& out)
{
    bool mono = mode == GLYPH_MONO;
    FT_Int32 load = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT : FT_LOAD_TARGET_LIGHT);
    if (FT_Set_Char_Size(face, 0, size26, 72, 72) != 0 || FT_Load_Glyph(face, glyph, load) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return;
    FT_Outline_Translate(&face->glyph->outline, nPhase * 16, 0);
    if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return;
    const FT_Bitmap& bm = face->glyph->bitmap;
    out.m_nLeft = face->glyph->bitmap_left;
    out.m_nTop = face->glyph->bitmap_top;
    out.m_nWidth = static_cast<int>(bm.width);
    out.m_nRows = static_cast<int>(bm.rows);
    out.m_vecCoverage.assign(static_cast<size_t>(out.m_nWidth) * out.m_nRows, 0);
    for (int r = 0; r < out.m_nRows; ++r) {
        const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
        uint8_t* dst = &out.m_vecCoverage[static_cast<size_t>(r) * out.m_nWidth];
        for (int c = 0; c < out.m_nWidth; ++c)
            dst[c] = mono ? ((src[c >> 3] >> (7 - (c & 7))) & 1 ? 255 : 0) : src[c];
    }
}

// Drops the blank rows and columns around the ink of a rendered glyph: the
// hinted outline may leave some, and images are the bounding box of their ink.
void TrimToInk(GLYPH_BITMAP& bitmap)
{
    int top = bitmap.m_nRows;
    int bottom = -1;
    int left = bitmap.m_nWidth;
    int right = -1;
    for (int r = 0; r < bitmap.m_nRows; ++r) {
        for (int c = 0; c < bitmap.m_nWidth; ++c) {
            if (!bitmap.m_vecCoverage[static_cast<size_t>(r) * bitmap.m_nWidth + c])
                continue;
            top = std::min(top, r);
            bottom = std::max(bottom, r);
            left = std::min(left, c);
            right = std::max(right, c);
        }
    }
    GLYPH_BITMAP trimmed;
    if (bottom >= 0) {
        trimmed.m_nLeft = bitmap.m_nLeft + left;
        trimmed.m_nTop = bitmap.m_nTop - top;
        trimmed.m_nWidth = right - left + 1;
        trimmed.m_nRows = bottom - top + 1;
        trimmed.m_vecCoverage.reserve(static_cast<size_t>(trimmed.m_nWidth) * trimmed.m_nRows);
        for (int r = top; r <= bottom; ++r) {
            const uint8_t* row = &bitmap.m_vecCoverage[static_cast<size_t>(r) * bitmap.m_nWidth];
            trimmed.m_vecCoverage.insert(trimmed.m_vecCoverage.end(), row + left, row + right + 1);
        }
    }
    bitmap = std::move(trimmed);
}

}  // namespace

struct MathFont::Impl {
    FT_Library m_pLibrary = nullptr;
    FONT_SLOT m_arrFonts[TEXFONT_COUNT];
    std::unordered_map<BitmapKey, GLYPH_BITMAP, BitmapKeyHash> m_mapBitmaps;
    std::unordered_map<uint64_t, uint32_t> m_mapScriptGlyphs;

    const FONT_SLOT& slot(TexFontId font) const
    {
        // A missing text face falls back to the math font, which has Latin letters too.
        const FONT_SLOT& wanted = m_arrFonts[font < TEXFONT_COUNT ? font : TEXFONT_MATH];
        return wanted.ok() ? wanted : m_arrFonts[TEXFONT_MATH];
    }
    double em(const FONT_SLOT& s, double units) const { return units / s.m_dUnitsPerEm; }
};

MathFont& MathFont::instance()
{
    static MathFont font;
    return font;
}

MathFont::MathFont() : m_pImpl(std::make_unique<Impl>())
{
    if (FT_Init_FreeType(&m_pImpl->m_pLibrary) != 0) {
        m_pImpl->m_pLibrary = nullptr;
        return;
    }
    // A private fontconfig configuration: the process-wide one belongs to
    // whoever else uses fontconfig here (the GUI toolkit).
    FcConfig* config = FcInitLoadConfigAndFonts();
    std::string paths[TEXFONT_COUNT];
    for (int i = 0; i < TEXFONT_COUNT; ++i)
        paths[i] = LocateFont(config, static_cast<TexFontId>(i));
    if (config)
        FcConfigDestroy(config);
    for (int i = 0; i < TEXFONT_COUNT; ++i) {
        const std::string& path = paths[i];
        if (path.empty())
            continue;
        FONT_SLOT& s = m_pImpl->m_arrFonts[i];
        if (FT_New_Face(m_pImpl->m_pLibrary, path.c_str(), 0, &s.m_pFace) != 0) {
            s.m_pFace = nullptr;
            continue;
        }
        hb_blob_t* blob = hb_blob_create_from_file(path.c_str());
        s.m_pHbFace = hb_face_create(blob, 0);
        hb_blob_destroy(blob);
        s.m_dUnitsPerEm = hb_face_get_upem(s.m_pHbFace);
        if (s.m_dUnitsPerEm <= 0)
            s.m_dUnitsPerEm = 1000;
        s.m_pHbFont = hb_font_create(s.m_pHbFace);
        if (i == TEXFONT_MATH && !hb_ot_math_has_data(s.m_pHbFace)) {
            // A math font without a MATH table cannot set formulas.
            hb_font_destroy(s.m_pHbFont);
            s.m_pHbFont = nullptr;
        }
    }
}

MathFont::~MathFont()
{
    for (FONT_SLOT& s : m_pImpl->m_arrFonts) {
        if (s.m_pHbFont)
            hb_font_destroy(s.m_pHbFont);
        if (s.m_pHbFace)
            hb_face_destroy(s.m_pHbFace);
        if (s.m_pFace)
            FT_Done_Face(s.m_pFace);
    }
    if (m_pImpl->m_pLibrary)
        FT_Done_FreeType(m_pImpl->m_pLibrary);
}

bool MathFont::isLoaded() const
{
    return m_pImpl->m_arrFonts[TEXFONT_MATH].ok();
}

uint32_t MathFont::glyphIndex(TexFontId font, uint32_t codepoint) const
{
    const FONT_SLOT& s = m_pImpl->slot(font);
    hb_codepoint_t glyph = 0;
    if (!s.ok() || !hb_font_get_nominal_glyph(s.m_pHbFont, codepoint, &glyph))
        return 0;
    return glyph;
}

uint32_t MathFont::scriptGlyph(uint32_t glyph, int level)
{
    if (level <= 0 || glyph == 0)
        return glyph;
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return glyph;
    uint64_t key = (static_cast<uint64_t>(glyph) << 2) | static_cast<uint64_t>(level > 1 ? 2 : 1);
    auto it = m_pImpl->m_mapScriptGlyphs.find(key);
    if (it != m_pImpl->m_mapScriptGlyphs.end())
        return it->second;

    // The 'ssty' feature of the math script maps a glyph to its script form;
    // apply its lookups to the single glyph.
    uint32_t result = glyph;
    hb_face_t* face = s.m_pHbFace;
    const hb_tag_t ssty = HB_TAG('s', 's', 't', 'y');
    unsigned int featureCount = hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, 0, nullptr, nullptr);
    std::vector<hb_tag_t> tags(featureCount);
    hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, 0, &featureCount, tags.data());
    for (unsigned int f = 0; f < featureCount; ++f) {
        if (tags[f] != ssty)
            continue;
        unsigned int lookupCount = 8;
        unsigned int lookups[8];
        hb_ot_layout_feature_get_lookups(face, HB_OT_TAG_GSUB, f, 0, &lookupCount, lookups);
        for (unsigned int l = 0; l < lookupCount; ++l) {
            hb_codepoint_t alternates[4];
            unsigned int altCount = 4;
            unsigned int total = hb_ot_layout_lookup_get_glyph_alternates(face, lookups[l], result, 0,
                                                                         &altCount, alternates);
            if (total == 0 || altCount == 0)
                continue;
            // Alternate substitution: index level-1 is the form for that level.
            unsigned int pick = static_cast<unsigned int>(level > 1 ? 1 : 0);
            result = alternates[pick < altCount ? pick : altCount - 1];
            break;
        }
        break;
    }
    m_pImpl->m_mapScriptGlyphs.emplace(key, result);
    return result;
}

double MathFont::advance(TexFontId font, uint32_t glyph) const
{
    const FONT_SLOT& s = m_pImpl->slot(font);
    if (!s.ok())
        return 0;
    return m_pImpl->em(s, hb_font_get_glyph_h_advance(s.m_pHbFont, glyph));
}

GLYPH_EXTENTS MathFont::extents(TexFontId font, uint32_t glyph) const
{
    GLYPH_EXTENTS result;
    const FONT_SLOT& s = m_pImpl->slot(font);
    hb_glyph_extents_t e;
    if (!s.ok() || !hb_font_get_glyph_extents(s.m_pHbFont, glyph, &e))
        return result;
    result.m_dLeft = m_pImpl->em(s, e.x_bearing);
    result.m_dRight = m_pImpl->em(s, e.x_bearing + e.width);
    result.m_dTop = m_pImpl->em(s, e.y_bearing);
    result.m_dBottom = m_pImpl->em(s, e.y_bearing + e.height);
    return result;
}

double MathFont::constant(hb_ot_math_constant_t which) const
{
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return 0;
    hb_position_t value = hb_ot_math_get_constant(s.m_pHbFont, which);
    if (which == HB_OT_MATH_CONSTANT_SCRIPT_PERCENT_SCALE_DOWN ||
        which == HB_OT_MATH_CONSTANT_SCRIPT_SCRIPT_PERCENT_SCALE_DOWN ||
        which == HB_OT_MATH_CONSTANT_RADICAL_DEGREE_BOTTOM_RAISE_PERCENT)
        return value;
    return m_pImpl->em(s, value);
}

double MathFont::italicCorrection(uint32_t glyph) const
{
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return 0;
    return m_pImpl->em(s, hb_ot_math_get_glyph_italics_correction(s.m_pHbFont, glyph));
}

double MathFont::topAccentAttachment(uint32_t glyph) const
{
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return 0;
    // HarfBuzz answers half the advance itself when the glyph has no entry.
    return m_pImpl->em(s, hb_ot_math_get_glyph_top_accent_attachment(s.m_pHbFont, glyph));
}

double MathFont::minConnectorOverlap(bool bVertical) const
{
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return 0;
    return m_pImpl->em(s, hb_ot_math_get_min_connector_overlap(
                              s.m_pHbFont, bVertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR));
}

std::vector<GLYPH_VARIANT> MathFont::variants(uint32_t glyph, bool bVertical) const
{
    std::vector<GLYPH_VARIANT> result;
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return result;
    hb_direction_t dir = bVertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR;
    hb_ot_math_glyph_variant_t buffer[32];
    unsigned int count = 32;
    hb_ot_math_get_glyph_variants(s.m_pHbFont, glyph, dir, 0, &count, buffer);
    for (unsigned int i = 0; i < count; ++i)
        result.push_back({buffer[i].glyph, m_pImpl->em(s, buffer[i].advance)});
    return result;
}

std::vector<GLYPH_PART> MathFont::assembly(uint32_t glyph, bool bVertical) const
{
    std::vector<GLYPH_PART> result;
    const FONT_SLOT& s = m_pImpl->m_arrFonts[TEXFONT_MATH];
    if (!s.ok())
        return result;
    hb_direction_t dir = bVertical ? HB_DIRECTION_BTT : HB_DIRECTION_LTR;
    hb_ot_math_glyph_part_t parts[16];
    unsigned int count = 16;
    hb_position_t italic = 0;
    hb_ot_math_get_glyph_assembly(s.m_pHbFont, glyph, dir, 0, &count, parts, &italic);
    for (unsigned int i = 0; i < count; ++i) {
        GLYPH_PART part;
        part.m_nGlyph = parts[i].glyph;
        part.m_dStartConnector = m_pImpl->em(s, parts[i].start_connector_length);
        part.m_dEndConnector = m_pImpl->em(s, parts[i].end_connector_length);
        part.m_dFullAdvance = m_pImpl->em(s, parts[i].full_advance);
        part.m_bExtender = (parts[i].flags & HB_OT_MATH_GLYPH_PART_FLAG_EXTENDER) != 0;
        result.push_back(part);
    }
    return result;
}

namespace {

// Decodes the code point at text[pos] and moves pos past it; 0xFFFD for bad bytes.
uint32_t NextCodepoint(std::string_view text, size_t& pos)
{
    unsigned char c = static_cast<unsigned char>(text[pos++]);
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra && pos < text.size(); ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return extra ? cp : 0xFFFD;
}

bool IsCombining(uint32_t cp)
{
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x20D0 && cp <= 0x20FF);
}

}  // namespace

void MathFont::shape(TexFontId font, std::string_view utf8, std::vector<SHAPED_GLYPH>& out, bool* bMissing) const
{
    out.clear();
    // Runs of letters that one font has; a combining mark goes with its letter.
    size_t pos = 0;
    size_t runStart = 0;
    int runFont = -1;
    auto flush = [&](size_t end) {
        if (runFont >= 0 && end > runStart)
            shapeRun(static_cast<TexFontId>(runFont), utf8.substr(runStart, end - runStart), out);
        runStart = end;
    };
    while (pos < utf8.size()) {
        size_t start = pos;
        uint32_t cp = NextCodepoint(utf8, pos);
        if (IsCombining(cp) && runFont >= 0)
            continue;
        int chosen = glyphIndex(font, cp) || cp == ' ' ? static_cast<int>(font) : -1;
        for (size_t f = 0; chosen < 0 && f < std::size(mg_arrFallbacks); ++f) {
            if (m_pImpl->m_arrFonts[mg_arrFallbacks[f]].ok() && glyphIndex(mg_arrFallbacks[f], cp))
                chosen = mg_arrFallbacks[f];
        }
        if (chosen != runFont)
            flush(start);
        runFont = chosen;
        if (chosen < 0) {
            // No font has the letter: a marker the layout draws as a hollow box.
            if (bMissing)
                *bMissing = true;
            SHAPED_GLYPH missing;
            missing.m_nFont = TEXFONT_COUNT;
            out.push_back(missing);
            runStart = pos;
        }
    }
    flush(utf8.size());
}

void MathFont::shapeRun(TexFontId font, std::string_view utf8, std::vector<SHAPED_GLYPH>& out) const
{
    const FONT_SLOT& s = m_pImpl->slot(font);
    if (!s.ok() || utf8.empty())
        return;
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), 0, static_cast<int>(utf8.size()));
    hb_buffer_guess_segment_properties(buffer);
    // Formulas read left to right, whatever script a text block is in.
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_shape(s.m_pHbFont, buffer, nullptr, 0);
    unsigned int count = 0;
    hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    uint8_t fontIndex = static_cast<uint8_t>(&s - m_pImpl->m_arrFonts);
    out.reserve(out.size() + count);
    for (unsigned int i = 0; i < count; ++i) {
        SHAPED_GLYPH g;
        g.m_nFont = fontIndex;
        g.m_nGlyph = info[i].codepoint;
        g.m_dAdvance = m_pImpl->em(s, pos[i].x_advance);
        g.m_dOffsetX = m_pImpl->em(s, pos[i].x_offset);
        g.m_dOffsetY = m_pImpl->em(s, pos[i].y_offset);
        out.push_back(g);
    }
    hb_buffer_destroy(buffer);
}

const GLYPH_BITMAP* MathFont::bitmap(TexFontId font, uint32_t glyph, double sizePx, TexGlyphMode mode, int nPhase)
{
    const FONT_SLOT& s = m_pImpl->slot(font);
    if (!s.ok())
        return nullptr;
    uint64_t fontIndex = static_cast<uint64_t>(&s - m_pImpl->m_arrFonts);
    long size26 = std::lround(sizePx * 64.0);
    if (size26 < 16 || size26 > 64 * 1024)
        return nullptr;
    nPhase = mode == GLYPH_COVERAGE ? (nPhase & 3) : 0;
    BitmapKey key{(fontIndex << 52) | (static_cast<uint64_t>(glyph & 0xFFFFFF) << 28) |
                  (static_cast<uint64_t>(size26) << 3) | (static_cast<uint64_t>(nPhase) << 1) |
                  static_cast<uint64_t>(mode)};
    auto it = m_pImpl->m_mapBitmaps.find(key);
    if (it != m_pImpl->m_mapBitmaps.end())
        return &it->second;
    if (m_pImpl->m_mapBitmaps.size() >= mg_nBitmapCacheLimit)
        m_pImpl->m_mapBitmaps.clear();
    GLYPH_BITMAP result;
    RenderGlyph(s.m_pFace, glyph, size26, mode, nPhase, result);
    TrimToInk(result);
    auto inserted = m_pImpl->m_mapBitmaps.emplace(key, std::move(result));
    return &inserted.first->second;
}

}  // namespace tex
