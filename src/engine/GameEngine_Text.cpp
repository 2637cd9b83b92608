// Text from bitmap fonts, glyph by glyph, with '^' colour escapes; and the plain diagnostic font
// built into display lists.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/BrowserEmulation.h"
#include "engine/GFont.h"
#include "engine/GameEngine.h"
#include "engine/WinFont.h"
#include "platform/Backend.h"

void ModifyMidString(GameEngine* gEngine, char c) {
    switch (c) {
        case 'R': gEngine->SetColor(1, 0, 0, 1); break;
        case 'G': gEngine->SetColor(0, 1, 0, 1); break;
        case 'B': gEngine->SetColor(0, 0, 1, 1); break;
        case 'W': gEngine->SetColor(1, 1, 1, 1); break;
        case 'K': gEngine->SetColor(0, 0, 0, 1); break;
        default: break;
    }
}

void GameEngine::SelectFont(GFont* gfont) { curFont = gfont; }

static void DrawFormatted(GameEngine* e, float x, float y, const char* text) {
    GFont* f = e->curFont;
    if (!f || !f->Usable()) return;
    float s = f->scale;
    int pen = 0;
    size_t len = std::strlen(text);
    for (size_t i = 0; i < len; ++i) {
        char c = text[i];
        if (c == '^' && i + 1 < len) {
            ModifyMidString(e, text[i + 1]);
            ++i;
            continue;
        }
        // Characters the font has no cell for are skipped rather than read outside the picture.
        if (!f->HasGlyph(c)) continue;
        int idx = static_cast<signed char>(c) - 32;
        int cx = (idx % f->tileCountX) * f->tileW;
        int cy = (idx / f->tileCountX) * f->tileH;
        e->DrawImagePart(0, f->image, static_cast<int>(x + 2 * pen * s * e->textScale), static_cast<int>(y), cx, cy,
                         f->tileW, f->tileH, e->textScale * s, 0, 1, 1);
        pen += f->GetWSpace(c) + 1;
    }
}

void GameEngine::DrawTextA(float x, float y, const char* fmt, ...) {
    if (!fmt) return;
    char text[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof(text), fmt, ap);  // longer texts are cut, never overflowed
    va_end(ap);
    DrawFormatted(this, x, y, text);
}

void GameEngine::DrawTextBox(float x, float y, int sw, int, const char* fmt, ...) {
    if (!fmt || !curFont || !curFont->Usable()) return;
    char text[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof(text), fmt, ap);
    va_end(ap);
    float s = curFont->scale;
    size_t len = std::strlen(text);
    size_t pos = 0;
    int line = 0;
    while (pos < len) {
        float width = 0, target = static_cast<float>(sw);
        size_t end = pos;
        while (end < len) {
            char c = text[end];
            if (c == '^' && end + 1 < len) target += (2 * curFont->GetWSpace(text[end + 1]) + 2) * s;
            float cw = (2 * curFont->GetWSpace(c) + 2) * s;
            if (width + cw >= target) break;
            width += cw;
            ++end;
        }
        if (end < len) {
            size_t cut = end;
            while (cut > pos && text[cut] != ' ') --cut;
            // A single word wider than the box is broken where it overflows.
            if (cut > pos) end = cut;
            if (end == pos) end = pos + 1;
        }
        std::string part(text + pos, end - pos);
        DrawTextA(x, y + line * curFont->tileH * 2 * s, "%s", part.c_str());
        ++line;
        pos = end;
        while (pos < len && text[pos] == ' ') ++pos;
    }
}

#ifdef BRACKMOOR_BROWSER_EMULATION
// The browser has no display lists or glBitmap: the same glyphs go into one texture, 16 cells of
// 8 x 12 pixels a row, and each character is a textured quad where glBitmap would have put it.
namespace {
constexpr int kWinFontTexW = 128;
constexpr int kWinFontTexH = 128;
constexpr int kWinGlyphW = 8;
constexpr int kWinGlyphH = 12;
constexpr int kWinGlyphsPerRow = kWinFontTexW / kWinGlyphW;
}  // namespace

void GameEngine::LoadWinFont(const char*, int, int) {
    fontbase = 0;
    if (RenderFree()) return;
    std::vector<unsigned char> texels(static_cast<size_t>(kWinFontTexW) * kWinFontTexH * 4, 0);
    for (int i = 0; i < 96; ++i) {
        unsigned char rows[kWinGlyphH];
        WinFontGlyph(static_cast<char>(32 + i), rows);
        int cellX = (i % kWinGlyphsPerRow) * kWinGlyphW, cellY = (i / kWinGlyphsPerRow) * kWinGlyphH;
        for (int r = 0; r < kWinGlyphH; ++r) {
            unsigned char bits = rows[kWinGlyphH - 1 - r];  // rows come bottom first
            for (int b = 0; b < kWinGlyphW; ++b) {
                unsigned char* t = &texels[((cellY + r) * kWinFontTexW + cellX + b) * 4];
                t[0] = t[1] = t[2] = 255;
                t[3] = (bits & (0x80 >> b)) ? 255 : 0;
            }
        }
    }
    glGenTextures(1, &fontbase);
    glBindTexture(GL_TEXTURE_2D, fontbase);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kWinFontTexW, kWinFontTexH, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    curImage = nullptr;
}

void GameEngine::FreeWinFont() {
    if (fontbase != 0 && platform::IsVideoOpen()) glDeleteTextures(1, &fontbase);
    fontbase = 0;
}

// The glyphs of the diagnostic text from (x, y), in window pixels: textured quads cut from the
// font's texture, placed where the bitmaps would fall.
static void DrawWinGlyphs(GLuint fontTexture, float x, float y, const char* text) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    // glBitmap puts a glyph's baseline two rows above its bottom, at the whole pixel of the raster
    // position, and moves on by its width.
    float left = std::floor(x), top = std::floor(y) - (kWinGlyphH - 2);
    const float du = static_cast<float>(kWinGlyphW) / kWinFontTexW, dv = static_cast<float>(kWinGlyphH) / kWinFontTexH;
    glBegin(GL_QUADS);
    for (const char* p = text; *p; ++p) {
        int c = static_cast<unsigned char>(*p);
        if (c < 32 || c >= 128) continue;
        int i = c - 32;
        float u = (i % kWinGlyphsPerRow) * du, v = (i / kWinGlyphsPerRow) * dv;
        glTexCoord2f(u, v);
        glVertex2f(left, top);
        glTexCoord2f(u + du, v);
        glVertex2f(left + kWinGlyphW, top);
        glTexCoord2f(u + du, v + dv);
        glVertex2f(left + kWinGlyphW, top + kWinGlyphH);
        glTexCoord2f(u, v + dv);
        glVertex2f(left, top + kWinGlyphH);
        left += kWinGlyphW;
    }
    glEnd();
}
#else
void GameEngine::LoadWinFont(const char*, int, int) {
    // Without a GL context there are no display lists: the diagnostic font then draws nothing.
    fontbase = 0;
    if (RenderFree()) return;
    fontbase = glGenLists(96);
    if (fontbase == 0) return;
    for (int i = 0; i < 96; ++i) {
        unsigned char rows[12];
        WinFontGlyph(static_cast<char>(32 + i), rows);
        glNewList(fontbase + i, GL_COMPILE);
        glBitmap(8, 12, 0, 2, 8, 0, rows);
        glEndList();
    }
}

void GameEngine::FreeWinFont() {
    if (fontbase != 0 && platform::IsVideoOpen()) glDeleteLists(fontbase, 96);
    fontbase = 0;
}

// The glyphs of the diagnostic text from (x, y), in window pixels: bitmaps from the font's display
// lists at the raster position.
static void DrawWinGlyphs(GLuint fontLists, float x, float y, const char* text) {
    glDisable(GL_TEXTURE_2D);
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(fontLists - 32);
    std::string visible;
    for (const char* p = text; *p; ++p)
        if (static_cast<unsigned char>(*p) >= 32 && static_cast<unsigned char>(*p) < 128) visible += *p;
    glCallLists(static_cast<GLsizei>(visible.size()), GL_UNSIGNED_BYTE, visible.data());
    glPopAttrib();
    glEnable(GL_TEXTURE_2D);
}

#endif  // BRACKMOOR_BROWSER_EMULATION

void GameEngine::DrawWinText(float x, float y, const char* fmt, ...) {
    if (!fmt || fontbase == 0 || !DrawsPixels()) return;
    char text[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof(text), fmt, ap);
    va_end(ap);
    FlushQuads();  // drawn straight away, over what is gathered and in the colour last set
    glPushMatrix();
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    DrawWinGlyphs(fontbase, x + ShakeX, y + ShakeY, text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
#ifdef BRACKMOOR_BROWSER_EMULATION
    curImage = nullptr;  // the font's texture is bound now
#endif
}

void GameEngine::DrawWinTextBox(float x, float y, int sw, int, const char* fmt, ...) {
    if (!fmt) return;
    char text[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof(text), fmt, ap);
    va_end(ap);
    size_t perLine = static_cast<size_t>(sw > fontW ? sw / fontW : 1);
    std::string s = text;
    size_t pos = 0;
    int n = 0;
    while (pos < s.size()) {
        size_t end = pos + perLine;
        if (end < s.size()) {
            size_t cut = s.rfind(' ', end);
            if (cut != std::string::npos && cut > pos) end = cut;
        } else {
            end = s.size();
        }
        DrawTextA(x, y + static_cast<float>((fontH + 5) * n), "%s", s.substr(pos, end - pos).c_str());
        ++n;
        pos = end;
        while (pos < s.size() && s[pos] == ' ') ++pos;
    }
}
