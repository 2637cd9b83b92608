#include "engine/FramePng.h"

#include "engine/BrowserEmulation.h"
#ifdef BRACKMOOR_BROWSER_EMULATION
#include "platform/web/StoredPng.h"
#else
#include <png.h>
#endif

#include <cstdio>
#include <vector>

#include "engine/GL.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"

bool SaveFramePng(const std::string& file, int width, int height) {
    // Nothing is drawn in a render-free run (the options refuse --screenshot with --no-render).
    if (GameEngine::RenderFree()) return false;
    QuadBatch::Shared().Flush();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::string tmp = file + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
#ifdef BRACKMOOR_BROWSER_EMULATION
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        // OpenGL's first row is the bottom of the screen.
        const unsigned char* src = &pixels[static_cast<size_t>(height - 1 - y) * width * 4];
        unsigned char* dst = &rgb[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) dst[x * 3 + c] = src[x * 4 + c];
    }
    bool written = platform::WriteStoredPng(f, width, height, rgb);
    if (std::fclose(f) != 0 || !written) {
        std::remove(tmp.c_str());
        return false;
    }
    return std::rename(tmp.c_str(), file.c_str()) == 0;
#else
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::remove(tmp.c_str());
        return false;
    }
    png_init_io(png, f);
    // The frame's own alpha is meaningless on screen: write an opaque RGB picture.
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        // OpenGL's first row is the bottom of the screen.
        const unsigned char* src = &pixels[static_cast<size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = src[x * 4 + 0];
            row[x * 3 + 1] = src[x * 4 + 1];
            row[x * 3 + 2] = src[x * 4 + 2];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(f) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return std::rename(tmp.c_str(), file.c_str()) == 0;
#endif
}
