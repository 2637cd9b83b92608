// Drawing primitives: every sprite, tile and glyph is one immediate-mode quad, flat on the screen
// (side 0) or on one of the four walls of the turning tower (sides 1..4).
#include "engine/GImage.h"
#include "engine/GameEngine.h"

namespace {
const float kHalf = 0.5f;         // the doubled size is halved around the quad's centre
const float kTowerHalf = 256.0f;  // half the 512-pixel wall

bool IsWall(int side) { return side >= 1 && side <= 4; }

struct Corner {
    float u, v;
    float x, y, z;
};

// The four corners of a quad for a side, in drawing order (texture coordinates then position).
void WallCorners(int side, float a, float b, float rx, float ry, float tx, float ty, float tw, float th,
                 Corner out[4]) {
    switch (side) {
        case 1:
            out[0] = {tx + tw, ty + th, -a + rx, -b + ry, kTowerHalf};
            out[1] = {tx, ty + th, a + rx, -b + ry, kTowerHalf};
            out[2] = {tx, ty, a + rx, b + ry, kTowerHalf};
            out[3] = {tx + tw, ty, -a + rx, b + ry, kTowerHalf};
            break;
        case 2:
            out[0] = {tx + tw, ty + th, kTowerHalf, -b + ry, a - rx};
            out[1] = {tx, ty + th, kTowerHalf, -b + ry, -a - rx};
            out[2] = {tx, ty, kTowerHalf, b + ry, -a - rx};
            out[3] = {tx + tw, ty, kTowerHalf, b + ry, a - rx};
            break;
        case 3:
            out[0] = {tx, ty, -a - rx, b + ry, -kTowerHalf};
            out[1] = {tx + tw, ty, a - rx, b + ry, -kTowerHalf};
            out[2] = {tx + tw, ty + th, a - rx, -b + ry, -kTowerHalf};
            out[3] = {tx, ty + th, -a - rx, -b + ry, -kTowerHalf};
            break;
        case 4:
            out[0] = {tx, ty + th, -kTowerHalf, -b + ry, a + rx};
            out[1] = {tx + tw, ty + th, -kTowerHalf, -b + ry, -a + rx};
            out[2] = {tx + tw, ty, -kTowerHalf, b + ry, -a + rx};
            out[3] = {tx, ty, -kTowerHalf, b + ry, a + rx};
            break;
        default:
            out[0] = {tx + tw, ty + th, -a, -b, -1};
            out[1] = {tx, ty + th, a, -b, -1};
            out[2] = {tx, ty, a, b, -1};
            out[3] = {tx + tw, ty, -a, b, -1};
            break;
    }
}

void Bind(GameEngine* e, GImage* image) {
    if (e->curImage != image) {
        glBindTexture(GL_TEXTURE_2D, image->data);
        e->curImage = image;
    }
}
}  // namespace

float GameEngine::NormaliseInv(float v) {
    if (v == 0 || v > 1) return 1;
    if (v < -1) return -1;
    return v;
}

bool GameEngine::Culled(int xP, int yP, float W, float H) {
    return xP > 640 || yP > 480 || xP + W < 0 || yP + H < 0;
}

// The colour is GL state that outlives a PixelsOff scope, so only a render-free run skips it.
void GameEngine::SetColor(float r, float g, float b, float a) {
    if (!RenderFree()) glColor4f(r, g, b, a);
}

void GameEngine::ResetColor() {
    if (!RenderFree()) glColor4f(1, 1, 1, 1);
}

void GameEngine::DrawImage(int side, GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv) {
    if (!image || !image->loaded || !DrawsPixels()) return;
    xinv = NormaliseInv(xinv);
    yinv = NormaliseInv(yinv);
    float W = 2.0f * image->w * scale;
    float H = 2.0f * image->h * scale;
    if (Culled(xP, yP, W, H)) return;
    glLoadIdentity();
    glTranslatef(xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, 0);
    glRotatef(180, 0, 0, 1);
    glRotatef(rot, 0, 0, 1);
    Bind(this, image);
    float a = W * kHalf * xinv;
    float b = H * kHalf * yinv;
    glBegin(GL_QUADS);
    glTexCoord2f(1, 1);
    glVertex3f(-a, -b, -1);
    glTexCoord2f(0, 1);
    glVertex3f(a, -b, -1);
    glTexCoord2f(0, 0);
    glVertex3f(a, b, -1);
    glTexCoord2f(1, 0);
    glVertex3f(-a, b, -1);
    glEnd();
}

void GameEngine::DrawImagePart(int side, GImage* image, int xP, int yP, int wP, int hP, int cx, int cy, int cw,
                               int ch, float scale, float rot, float xinv, float yinv) {
    if (!image || !image->loaded || !DrawsPixels()) return;
    xinv = NormaliseInv(xinv);
    yinv = NormaliseInv(yinv);
    float W = 2.0f * wP * scale;
    float H = 2.0f * hP * scale;
    if (Culled(xP, yP, W, H)) return;
    float tx = static_cast<float>(cx) / image->w;
    float ty = static_cast<float>(cy) / image->h;
    float tw = static_cast<float>(cw) / image->w;
    float th = static_cast<float>(ch) / image->h;
    glLoadIdentity();
    bool wall = IsWall(side);
    if (wall)
        glTranslatef(320 + ShakeX, 240 + ShakeY, 50);
    else
        glTranslatef(xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, 60);
    glRotatef(rot + 180, 0, 0, 1);
    if (wall) {
        glRotatef(rotx, 0, 1, 0);
        glRotatef(roty, 1, 0, 0);
    }
    float rx = (320 - W / 2) - xP;
    float ry = (240 - H / 2) - yP;
    float a = W * kHalf * xinv;
    float b = H * kHalf * yinv;
    Corner c[4];
    WallCorners(wall ? side : 0, a, b, rx, ry, tx, ty, tw, th, c);
    Bind(this, image);
    glBegin(GL_QUADS);
    for (const Corner& k : c) {
        glTexCoord2f(k.u, k.v);
        glVertex3f(k.x, k.y, k.z);
    }
    glEnd();
}

void GameEngine::DrawImagePart(int side, GImage* image, int xP, int yP, int cx, int cy, int cw, int ch, float scale,
                               float rot, float xinv, float yinv) {
    DrawImagePart(side, image, xP, yP, cw, ch, cx, cy, cw, ch, scale, rot, xinv, yinv);
}

void GameEngine::DrawBox(int side, int xP, int yP, int wP, int hP, int zP) {
    if (!DrawsPixels()) return;
    float W = 2.0f * wP;
    float H = 2.0f * hP;
    if (Culled(xP, yP, W, H)) return;
    glDisable(GL_TEXTURE_2D);
    glLoadIdentity();
    bool wall = IsWall(side);
    if (wall)
        glTranslatef(320 + ShakeX, 240 + ShakeY, 50);
    else
        glTranslatef(xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, static_cast<float>(zP + 200));
    glRotatef(180, 0, 0, 1);
    if (wall) {
        glRotatef(rotx, 0, 1, 0);
        glRotatef(roty, 1, 0, 0);
    }
    float rx = (320 - W / 2) - xP;
    float ry = (240 - H / 2) - yP;
    Corner c[4];
    WallCorners(wall ? side : 0, W * kHalf, H * kHalf, rx, ry, 0, 0, 0, 0, c);
    glBegin(GL_QUADS);
    for (const Corner& k : c) glVertex3f(k.x, k.y, k.z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void GameEngine::DrawImage3DBox(GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv) {
    // A cube of the whole texture on its four side faces, centred on the screen; the game does not use it.
    if (!image || !image->loaded || !DrawsPixels()) return;
    float W = 2.0f * image->w * scale;
    float H = 2.0f * image->h * scale;
    float a = W * kHalf * NormaliseInv(xinv);
    float b = H * kHalf * NormaliseInv(yinv);
    glLoadIdentity();
    glTranslatef(320 + ShakeX, 240 + ShakeY, 0);
    glRotatef(180 + rot, 0, 0, 1);
    glRotatef(rotx, 0, 1, 0);
    glRotatef(roty, 1, 0, 0);
    Bind(this, image);
    glBegin(GL_QUADS);
    for (int face = 0; face < 4; ++face) {
        float sx[4] = {-a, a, a, -a};
        for (int i = 0; i < 4; ++i) {
            float u = (i == 0 || i == 3) ? 1.0f : 0.0f;
            float v = (i < 2) ? 1.0f : 0.0f;
            float y = (i < 2) ? -b : b;
            float x = sx[i], z = a;
            switch (face) {
                case 0: break;
                case 1: { float t = x; x = z; z = -t; } break;
                case 2: x = -x; z = -z; break;
                default: { float t = x; x = -z; z = t; } break;
            }
            glTexCoord2f(u, v);
            glVertex3f(x, y, z);
        }
    }
    glEnd();
    (void)xP;
    (void)yP;
}
