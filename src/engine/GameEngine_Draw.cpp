// Drawing primitives: every sprite, tile and glyph is one quad, flat on the screen (side 0) or on one
// of the four walls of the turning tower (sides 1..4). The quads are gathered in the shared batch:
// a wall's corners go in as they lie on the tower and GL turns them with the tower's matrix; a flat
// quad is placed on the screen here.
#include <cmath>

#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"

namespace {
const float kHalf = 0.5f;          // the doubled size is halved around the quad's centre
const float kTowerHalf = 256.0f;   // half the 512-pixel wall
const float kTowerDepth = 50.0f;   // the tower's centre, in depth
const float kSpriteDepth = 60.0f;  // flat pictures
const float kBoxDepth = 200.0f;    // flat boxes, above their own depth
const float kTurn = 180.0f;        // every quad is turned half round: its corners are listed upside down
const double kScreenW = 640.0;

using Corner = QuadBatch::Corner;

bool IsWall(int side) { return side >= 1 && side <= 4; }

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

// Whether a quad on the tower reaches past the left or the right edge of the screen. The renderer
// clips such a quad, and clipping one inside a run changes how it cuts the rest of the run into
// triangles: such quads are drawn alone, as they always were. (Measured on the golden frames: quads
// past the top and bottom edges batch without a pixel changing, those past the sides do not.) The
// corners are placed on the screen closely enough to tell, with a pixel to spare.
bool TowerPastSide(const QuadTransform& t, const Corner c[4]) {
    const double k = M_PI / 180.0;
    const double ca = std::cos(t.angle * k), sa = std::sin(t.angle * k);
    const double cx = std::cos(t.rotx * k), sx = std::sin(t.rotx * k);
    const double cy = std::cos(t.roty * k), sy = std::sin(t.roty * k);
    for (int i = 0; i < 4; ++i) {
        // about x by roty, then about y by rotx, then about z by angle, then moved
        double y = c[i].y * cy - c[i].z * sy, z = c[i].y * sy + c[i].z * cy;
        double x = c[i].x * cx + z * sx;
        double screenX = t.x + x * ca - y * sa;
        if (screenX < 1 || screenX > kScreenW - 1) return true;
    }
    return false;
}

// The half turn every flat quad gets, as GL's glRotatef builds it (sine and cosine of the angle in
// double precision, kept as floats): the cosine is -1 and the sine a rounding speck.
struct HalfTurn {
    float c, s;
    HalfTurn() {
        const double rad = kTurn * M_PI / 180.0;
        c = static_cast<float>(std::cos(rad));
        s = static_cast<float>(std::sin(rad));
    }
};

// Adds a flat quad centred on (cx, cy) at depth cz, turned half round and then by `rot` degrees (by
// `rot2` more after that). An unturned quad is placed on the screen here and joins the run; a turned
// one is drawn under its own matrix as GL builds it, since the rounding of a turned quad's corners
// decides which texels show along its edges.
void AddFlat(bool textured, Corner c[4], float cx, float cy, float cz, float rot, float rot2 = 0) {
    QuadBatch& batch = QuadBatch::Shared();
    if (rot != 0 || rot2 != 0) {
        QuadTransform t;
        t.kind = QuadTransform::kPlaced;
        t.x = cx;
        t.y = cy;
        t.z = cz;
        t.angle = rot + kTurn;
        t.angle2 = rot2;
        batch.Use(textured, t);
        batch.AddAlone(c);
        return;
    }
    static const HalfTurn half;
    for (int i = 0; i < 4; ++i) {
        float x = c[i].x, y = c[i].y;
        c[i].x = half.c * x + -half.s * y + cx;
        c[i].y = half.s * x + half.c * y + cy;
        c[i].z = c[i].z + cz;
    }
    batch.Use(textured, QuadTransform());
    batch.Add(c);
}

void AddTower(bool textured, const QuadTransform& t, const Corner c[4]) {
    QuadBatch& batch = QuadBatch::Shared();
    batch.Use(textured, t);
    if (TowerPastSide(t, c))
        batch.AddAlone(c);
    else
        batch.Add(c);
}

void Bind(GameEngine* e, GImage* image) {
    if (e->curImage != image) {
        QuadBatch::Shared().Flush();
        glBindTexture(GL_TEXTURE_2D, image->data);
        QuadBatch::Shared().CountStateChange();
        e->curImage = image;
    }
}

QuadTransform Tower(const GameEngine* e, float angle) {
    QuadTransform t;
    t.kind = QuadTransform::kTower;
    t.x = 320 + e->ShakeX;
    t.y = 240 + e->ShakeY;
    t.z = kTowerDepth;
    t.angle = angle;
    t.rotx = e->rotx;
    t.roty = e->roty;
    return t;
}
}  // namespace

float GameEngine::NormaliseInv(float v) {
    if (v == 0 || v > 1) return 1;
    if (v < -1) return -1;
    return v;
}

bool GameEngine::Culled(int xP, int yP, float W, float H) { return xP > 640 || yP > 480 || xP + W < 0 || yP + H < 0; }

// The colour is state that outlives a PixelsOff scope, so only a render-free run skips it.
void GameEngine::SetColor(float r, float g, float b, float a) {
    if (!RenderFree()) QuadBatch::Shared().SetColor(r, g, b, a);
}

void GameEngine::ResetColor() { SetColor(1, 1, 1, 1); }

void GameEngine::FlushQuads() {
    if (RenderFree()) return;
    QuadBatch::Shared().Flush();
    QuadBatch::Shared().SyncColor();
}

void GameEngine::DrawImage(int side, GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv) {
    if (!image || !image->loaded || !DrawsPixels()) return;
    xinv = NormaliseInv(xinv);
    yinv = NormaliseInv(yinv);
    float W = 2.0f * image->w * scale;
    float H = 2.0f * image->h * scale;
    if (Culled(xP, yP, W, H)) return;
    Bind(this, image);
    float a = W * kHalf * xinv;
    float b = H * kHalf * yinv;
    Corner c[4] = {{1, 1, -a, -b, -1}, {0, 1, a, -b, -1}, {0, 0, a, b, -1}, {1, 0, -a, b, -1}};
    AddFlat(true, c, xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, 0, 0, rot);
    (void)side;
}

void GameEngine::DrawImagePart(int side, GImage* image, int xP, int yP, int wP, int hP, int cx, int cy, int cw, int ch,
                               float scale, float rot, float xinv, float yinv) {
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
    bool wall = IsWall(side);
    float rx = (320 - W / 2) - xP;
    float ry = (240 - H / 2) - yP;
    float a = W * kHalf * xinv;
    float b = H * kHalf * yinv;
    Corner c[4];
    WallCorners(wall ? side : 0, a, b, rx, ry, tx, ty, tw, th, c);
    Bind(this, image);
    if (wall) {
        AddTower(true, Tower(this, rot + kTurn), c);
    } else {
        AddFlat(true, c, xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, kSpriteDepth, rot);
    }
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
    bool wall = IsWall(side);
    float rx = (320 - W / 2) - xP;
    float ry = (240 - H / 2) - yP;
    Corner c[4];
    WallCorners(wall ? side : 0, W * kHalf, H * kHalf, rx, ry, 0, 0, 0, 0, c);
    if (wall) {
        AddTower(false, Tower(this, kTurn), c);
    } else {
        AddFlat(false, c, xP + W / 2 + ShakeX, yP + H / 2 + ShakeY, static_cast<float>(zP) + kBoxDepth, 0);
    }
}

void GameEngine::DrawImage3DBox(GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv) {
    // A cube of the whole texture on its four side faces, centred on the screen; the game does not use it.
    if (!image || !image->loaded || !DrawsPixels()) return;
    float W = 2.0f * image->w * scale;
    float H = 2.0f * image->h * scale;
    float a = W * kHalf * NormaliseInv(xinv);
    float b = H * kHalf * NormaliseInv(yinv);
    Bind(this, image);
    QuadBatch& batch = QuadBatch::Shared();
    batch.Flush();
    batch.SyncColor();
    batch.ForgetMatrix();
    glLoadIdentity();
    glTranslatef(320 + ShakeX, 240 + ShakeY, 0);
    glRotatef(180 + rot, 0, 0, 1);
    glRotatef(rotx, 0, 1, 0);
    glRotatef(roty, 1, 0, 0);
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
                case 1: {
                    float t = x;
                    x = z;
                    z = -t;
                } break;
                case 2:
                    x = -x;
                    z = -z;
                    break;
                default: {
                    float t = x;
                    x = -z;
                    z = t;
                } break;
            }
            glTexCoord2f(u, v);
            glVertex3f(x, y, z);
        }
    }
    glEnd();
    batch.CountStateChange(5);
    batch.CountDrawCall();
    (void)xP;
    (void)yP;
}
