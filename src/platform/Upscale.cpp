#include "platform/Upscale.h"

#define NO_SDL_GLEXT
#include <SDL/SDL_opengl.h>

#include "engine/QuadBatch.h"

namespace platform {
namespace {
GLuint g_texture = 0;
int g_texW = 0, g_texH = 0;

int PowerOfTwo(int n) {
    int v = 2;
    while (v < n) v *= 2;
    return v;
}
}  // namespace

Letterbox FitPicture(int gameW, int gameH, int windowW, int windowH) {
    int f = 1;
    while (gameW * (f + 1) <= windowW && gameH * (f + 1) <= windowH) ++f;
    Letterbox l;
    l.factor = f;
    l.x = (windowW - gameW * f) / 2;
    l.y = (windowH - gameH * f) / 2;
    if (l.x < 0) l.x = 0;
    if (l.y < 0) l.y = 0;
    return l;
}

void ResetUpscaler() {
    g_texture = 0;
    g_texW = g_texH = 0;
}

void UpscaleFrame(int gameW, int gameH, int windowW, int windowH) {
    Letterbox l = FitPicture(gameW, gameH, windowW, windowH);
    if (l.factor == 1 && l.x == 0 && l.y == 0) return;
    QuadBatch::Shared().Flush();  // the picture is copied: every quad of it must be drawn

    GLint oldTexture = 0, oldViewport[4], oldMatrixMode = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &oldTexture);
    glGetIntegerv(GL_VIEWPORT, oldViewport);
    glGetIntegerv(GL_MATRIX_MODE, &oldMatrixMode);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);

    if (!g_texture) {
        g_texW = PowerOfTwo(gameW);
        g_texH = PowerOfTwo(gameH);
        glGenTextures(1, &g_texture);
        glBindTexture(GL_TEXTURE_2D, g_texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, g_texW, g_texH, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, g_texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, gameW, gameH);

    glViewport(0, 0, windowW, windowH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, windowW, 0, windowH, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    float u = static_cast<float>(gameW) / g_texW, v = static_cast<float>(gameH) / g_texH;
    float x0 = static_cast<float>(l.x), y0 = static_cast<float>(l.y);
    float x1 = x0 + gameW * l.factor, y1 = y0 + gameH * l.factor;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(u, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(u, v);
    glVertex2f(x1, y1);
    glTexCoord2f(0, v);
    glVertex2f(x0, y1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();

    glPopAttrib();
    glMatrixMode(static_cast<GLenum>(oldMatrixMode));
    glViewport(oldViewport[0], oldViewport[1], oldViewport[2], oldViewport[3]);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(oldTexture));
}

}  // namespace platform
