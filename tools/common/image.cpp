#include "image.h"

#include <png.h>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace toolcommon {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

[[noreturn]] void PngFail(png_structp png, png_const_charp msg) {
    auto* err = static_cast<std::string*>(png_get_error_ptr(png));
    if (err) *err = msg;
    png_longjmp(png, 1);
}

void PngWarn(png_structp, png_const_charp) {}

std::string TempPathFor(const std::string& path) { return path + ".tmp" + std::to_string(static_cast<long>(getpid())); }

void MakeParentDirs(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    if (parent.empty()) return;
    std::error_code ec;
    fs::create_directories(parent, ec);
    if (ec) throw FileError(path + ": cannot create folder " + parent.string() + ": " + ec.message());
}

// Writes the PNG to an open file; returns an empty string on success, else the reason.
std::string WritePngStream(FILE* f, const Image& img) {
    std::string err;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, PngFail, PngWarn);
    if (!png) return "out of memory";
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return "out of memory";
    }
    std::vector<png_bytep> rows(size_t(img.height));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return err.empty() ? "PNG write failed" : err;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(img.width), png_uint_32(img.height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.height; ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(const_cast<Rgba*>(&img.pixels[size_t(y) * size_t(img.width)]));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return "";
}

void CommitTemp(const std::string& tmp, const std::string& path) {
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        int e = errno;
        std::remove(tmp.c_str());
        throw FileError(path + ": cannot write: " + std::strerror(e));
    }
}

}  // namespace

Image ReadPng(const std::string& path) {
    FilePtr f(fopen(path.c_str(), "rb"));
    if (!f) throw FileError(path + ": cannot open: " + std::strerror(errno));
    unsigned char sig[8];
    if (fread(sig, 1, 8, f.get()) != 8 || png_sig_cmp(sig, 0, 8) != 0) throw FileError(path + ": not a PNG file");

    std::string err;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err, PngFail, PngWarn);
    if (!png) throw FileError(path + ": out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw FileError(path + ": out of memory");
    }
    Image img;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw FileError(path + ": broken PNG: " + err);
    }
    png_init_io(png, f.get());
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info);
    png_uint_32 h = png_get_image_height(png, info);
    int depth = png_get_bit_depth(png, info);
    int type = png_get_color_type(png, info);
    if (depth == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    img = Image(int(w), int(h));
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(&img.pixels[size_t(y) * w]);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return img;
}

void WritePngAtomic(const std::string& path, const Image& img) {
    MakeParentDirs(path);
    std::string tmp = TempPathFor(path);
    std::string reason;
    {
        FilePtr f(fopen(tmp.c_str(), "wb"));
        if (!f) throw FileError(path + ": cannot write: " + std::strerror(errno));
        reason = WritePngStream(f.get(), img);
        if (reason.empty() && fflush(f.get()) != 0) reason = std::strerror(errno);
    }
    if (!reason.empty()) {
        std::remove(tmp.c_str());
        throw FileError(path + ": cannot write: " + reason);
    }
    CommitTemp(tmp, path);
}

void WriteTextAtomic(const std::string& path, const std::string& text) {
    MakeParentDirs(path);
    std::string tmp = TempPathFor(path);
    bool ok;
    {
        FilePtr f(fopen(tmp.c_str(), "wb"));
        if (!f) throw FileError(path + ": cannot write: " + std::strerror(errno));
        ok = fwrite(text.data(), 1, text.size(), f.get()) == text.size() && fflush(f.get()) == 0;
    }
    if (!ok) {
        std::remove(tmp.c_str());
        throw FileError(path + ": cannot write");
    }
    CommitTemp(tmp, path);
}

}  // namespace toolcommon
