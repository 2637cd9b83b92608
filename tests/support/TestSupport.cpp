#include "support/TestSupport.h"

#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/GameEngine.h"
#include "engine/Random.h"
#include "platform/Backend.h"

namespace testsupport {

void EnsureGL() {
    static bool open = false;
    if (open) return;
    // The test's thread is the game's, as the program's main thread is.
    RegisterGameThread();
    open = platform::OpenVideo("test", 640, 480, false);
    GameEngine::gEngine = &gEngine;
    HDC dc;
    HGLRC rc;
    gEngine.EnableOpenGL(nullptr, &dc, &rc);
    gEngine.w = 640;
    gEngine.h = 480;
    if (!platform::RenderFree()) glViewport(0, 0, 640, 480);
    gEngine.SetScreenProjection();
}

void UseRenderFree() {
    // BRACKMOOR_TESTS_DRAWN=1 draws these runs after all, to compare the two kinds of run.
    const char* drawn = std::getenv("BRACKMOOR_TESTS_DRAWN");
    if (drawn && *drawn && std::string(drawn) != "0") return;
    if (platform::IsVideoOpen()) {
        // Pictures already live in the context: switching now would mix the two kinds of run.
        std::fprintf(stderr, "UseRenderFree: a GL context is already open in this process\n");
        std::abort();
    }
    platform::SetRenderFree(true);
}

std::string MakeTempDir(const std::string& tag) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/brackmoor-" + tag + "-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back(0);
    char* d = mkdtemp(buf.data());
    return d ? std::string(d) : std::string();
}

bool WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgba) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, const_cast<unsigned char*>(&rgba[static_cast<size_t>(y) * w * 4]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return true;
}

static void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
static void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

bool WriteToneWav(const std::string& path, int samples, int amplitude) {
    std::string d;
    d += "RIFF";
    Put32(d, 36 + samples * 2);
    d += "WAVEfmt ";
    Put32(d, 16);
    Put16(d, 1);
    Put16(d, 1);
    Put32(d, 22050);
    Put32(d, 44100);
    Put16(d, 2);
    Put16(d, 16);
    d += "data";
    Put32(d, samples * 2);
    for (int i = 0; i < samples; ++i)
        Put16(d, static_cast<uint16_t>(static_cast<int16_t>(amplitude * std::sin(i * 0.1))));
    return WriteText(path, d);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::vector<unsigned char> ReadFrame() {
    std::vector<unsigned char> px(640 * 480 * 4);
    gEngine.FlushQuads();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

unsigned PixelAt(const std::vector<unsigned char>& frame, int x, int y) {
    size_t i = (static_cast<size_t>(479 - y) * 640 + x) * 4;
    return (unsigned(frame[i]) << 16) | (unsigned(frame[i + 1]) << 8) | unsigned(frame[i + 2]);
}

RunResult RunHeadless(const std::vector<std::string>& args) {
    std::string cmd = std::string(BRACKMOOR_BINARY_DIR) + "/brackmoor-headless";
    for (const std::string& a : args) {
        std::string q = "'";
        for (char c : a) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
        cmd += " " + q + "'";
    }
    cmd += " 2>&1";
    RunResult r{-1, ""};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), p)) > 0) r.output.append(buf, n);
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace testsupport
