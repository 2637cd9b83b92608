// particledemo [--seed N] [--frames N] [--data DIR] OUT.png
//
// Runs three particle emitters for a number of frames with the headless engine and saves the last
// frame as a 640 x 480 PNG: rain of colour streaks falling on the left, a burst of colour sparks in
// the middle, and rising smoke puffs tinted from grey to orange (an image emitter) on the right.
//   --seed N     seed the random generator (default 1); the same seed gives the same picture
//   --frames N   updates before the picture is taken (default 150)
//   --data DIR   the game's data folder, for the labels' font (default: found beside the program)
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/FramePng.h"
#include "engine/GFont.h"
#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "engine/particles/ParticleSystem.h"
#include "image.h"
#include "platform/Backend.h"
#include "platform/Paths.h"

namespace {

// A soft white disc, brightest in the middle, on a transparent ground: tinted by each particle.
toolcommon::Image Puff() {
    const int n = 8;
    toolcommon::Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float dx = x + 0.5f - n / 2.0f, dy = y + 0.5f - n / 2.0f;
            float d = std::sqrt(dx * dx + dy * dy) / (n / 2.0f);
            if (d >= 1) continue;
            uint8_t a = static_cast<uint8_t>(255 * (1 - d * d));
            img.at(x, y) = toolcommon::Rgba{255, 255, 255, a};
        }
    return img;
}

int Usage() {
    std::fprintf(stderr, "usage: particledemo [--seed N] [--frames N] [--data DIR] OUT.png\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned seed = 1;
    int frames = 150;
    std::string out, dataDir;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--seed" || a == "--frames" || a == "--data") && i + 1 < argc) {
            std::string v = argv[++i];
            if (a == "--data") {
                dataDir = v;
                continue;
            }
            char* end = nullptr;
            long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end || n < 0) return Usage();
            if (a == "--seed")
                seed = static_cast<unsigned>(n);
            else
                frames = static_cast<int>(n);
        } else if (out.empty() && !a.empty() && a[0] != '-') {
            out = a;
        } else {
            return Usage();
        }
    }
    if (out.empty()) return Usage();
    if (dataDir.empty()) dataDir = platform::FindDataDir(platform::ExecutableDir(), nullptr);
    platform::SetDataDir(dataDir);

    if (!platform::OpenVideo("particledemo", 640, 480, false)) {
        std::fprintf(stderr, "particledemo: could not open the offscreen picture\n");
        return 1;
    }
    GameEngine::gEngine = &gEngine;
    HDC dc;
    HGLRC rc;
    gEngine.EnableOpenGL(nullptr, &dc, &rc);
    gEngine.w = 640;
    gEngine.h = 480;
    glViewport(0, 0, 640, 480);

    char tmpl[] = "/tmp/brackmoor-particledemo-XXXXXX";
    std::string tmp = mkdtemp(tmpl) ? tmpl : "";
    std::string puffPath = tmp + "/puff.png";
    try {
        toolcommon::WritePngAtomic(puffPath, Puff());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "particledemo: %s\n", e.what());
        return 1;
    }
    GImage* puff = GImage::CreateNew(puffPath.c_str());
    std::remove(puffPath.c_str());
    rmdir(tmp.c_str());
    if (!puff->loaded) return 1;

    srand(seed);

    // Rain: thin blue streaks falling across the left half, fading as they go.
    ColorParticleSystem rain(&gEngine, 0, 20, -100, 45, 1, 40);
    rain.SetPosition(20, 260, -100, 60);
    rain.SetVelocity(1.0f, 50, 9, 400);
    rain.SetAge(40, 20);
    rain.SetColor(110, 60, 150, 50, 230, 25);
    rain.SetFadeOn();
    rain.Start(FALSE);

    // Sparks: one burst in the middle, thrown up and pulled down again.
    ColorParticleSystem sparks(&gEngine, 0, 310, 330, 40, 1, 60);
    sparks.SetPosition(305, 10, 330, 10);
    sparks.SetVelocity(-3.0f, 600, -8.0f, 500);
    sparks.SetAcceleration(0, 0, 0.25f, 10);
    sparks.SetAge(45, 30);
    sparks.SetColor(255, 0, 140, 115, 0, 60);
    sparks.SetFadeOn();

    // Smoke: puffs rising from a fire on the right, each tinted between grey and orange, fading.
    ImgParticleSystem smoke(&gEngine, 0, puff, 470, 400, 110, 1, 90);
    smoke.SetPosition(470, 30, 390, 10);
    smoke.SetVelocity(-0.9f, 160, -2.2f, 120);
    smoke.SetAcceleration(0, 0, -0.02f, 1);
    smoke.SetSize(1, 3);
    smoke.SetAge(70, 50);
    smoke.SetColor(150, 105, 70, 120, 40, 60);
    smoke.SetFadeOn();
    smoke.Start(FALSE);

    for (int f = 0; f < frames; ++f) {
        if (f == frames - 24) sparks.StartOnce();
        rain.Update(0, 0);
        sparks.Update(0, 0);
        smoke.Update(0, 0);
    }

    gEngine.SetScreenProjection();
    glClearColor(0.05f, 0.05f, 0.09f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);  // overlapping particles blend in the order they are drawn
    rain.Draw(0, 0);
    sparks.Draw(0, 0);
    smoke.Draw(0, 0);

    if (platform::FileExists(platform::ResolvePath("data/font/font.cff"))) {
        GFont font("data/font/font.cff", 1.0f);
        gEngine.SelectFont(&font);
        gEngine.ResetColor();
        gEngine.DrawTextA(20, 14, "ColorParticleSystem: rain and a burst of sparks");
        gEngine.DrawTextA(380, 450, "ImgParticleSystem: smoke");
        gEngine.SelectFont(nullptr);
    } else {
        std::fprintf(stderr, "particledemo: no font in \"%s\", the picture has no labels\n", dataDir.c_str());
    }

    if (!SaveFramePng(out, 640, 480)) {
        std::fprintf(stderr, "particledemo: could not write \"%s\"\n", out.c_str());
        return 1;
    }
    std::printf("%s: %d frames, seed %u\n", out.c_str(), frames, seed);
    return 0;
}
