// Quads gathered into client-side vertex arrays and drawn with one glDrawArrays per run of quads that
// share a texture use and a transform (each quad as two triangles, see Add). The engine's primitives
// add to it; it is drawn out (flushed) before any state those quads depend on changes (texture,
// depth test, matrix, colour readers) and before anything reads the picture. One OpenGL context per process, so one
// shared batch.
#pragma once

#include <vector>

#include "engine/GL.h"

// The transform a run of quads is drawn under: none (the corners are already on the screen); one
// quad's own move and turn in the screen's plane (a turned sprite, drawn alone); or the tower's turn
// about its centre (the corners are given on the tower's walls).
struct QuadTransform {
    enum Kind { kScreen, kPlaced, kTower };
    Kind kind = kScreen;
    float x = 0, y = 0, z = 0;  // the quad's or the tower's centre
    float angle = 0;            // the turn in the screen's plane, degrees
    float angle2 = 0;           // a second such turn after it (placed quads), when not 0
    float rotx = 0, roty = 0;   // the tower's turn about the vertical and the horizontal axis

    bool operator==(const QuadTransform& o) const {
        return kind == o.kind && x == o.x && y == o.y && z == o.z && angle == o.angle && angle2 == o.angle2 &&
               rotx == o.rotx && roty == o.roty;
    }
    bool operator!=(const QuadTransform& o) const { return !(*this == o); }
};

// GL work of one frame (or a run of frames): draw calls, state changes (texture binds, enables,
// matrix loads, client arrays, the current colour) and the quads drawn.
struct DrawCounts {
    long drawCalls = 0;
    long stateChanges = 0;
    long quads = 0;
};

class QuadBatch {
public:
    struct Vertex {
        GLfloat x, y, z;
        GLfloat u, v;
        GLfloat r, g, b, a;
    };
    // A quad's four corners in drawing order: texture coordinates then position.
    struct Corner {
        float u, v;
        float x, y, z;
    };

    static QuadBatch& Shared();

    // Starts or continues a run of quads drawn textured (with the texture bound now) or untextured,
    // under transform t; the quads gathered so far are drawn first when either differs.
    void Use(bool textured, const QuadTransform& t);
    // Adds one quad in the current colour, its corners in drawing order.
    void Add(const Corner c[4]);
    // Adds one quad drawn on its own, in a call of its own: for a quad that reaches past the edge of
    // the screen, which the renderer clips, and a clipped quad in a run would change how the renderer
    // cuts every other quad of that run.
    void AddAlone(const Corner c[4]);

    // The colour of the quads added next (GL's current colour follows at the next flush).
    void SetColor(float r, float g, float b, float a);

    // Draws what is gathered; afterwards GL's modelview matrix is the last run's transform and the
    // texture unit is enabled.
    void Flush();
    // Sets GL's current colour to the batch's (for GL calls made outside the batch that use it).
    void SyncColor();
    // Forgets what GL state the batch believes is set (a new context, or someone else moved the
    // modelview matrix, the client arrays or their pointers).
    void ForgetGLState();
    // Someone else loaded the modelview matrix.
    void ForgetMatrix() { appliedKnown_ = false; }
    // Any GL call made outside the batch that it should count (a texture bind, an enable...).
    void CountStateChange(long n = 1) { counts_.stateChanges += n; }
    void CountDrawCall() { ++counts_.drawCalls; }

    // The counts since the last call, then starts counting again.
    DrawCounts TakeCounts();

private:
    QuadBatch();
    void ApplyTransform();

    static const int kMaxQuads = 4096;
    static const int kVerticesPerQuad = 6;
    std::vector<Vertex> vertices_;
    int quads_ = 0;
    bool alone_ = false;  // the one quad gathered is drawn as a GL quad (four corners)
    bool textured_ = true;
    QuadTransform run_;
    QuadTransform applied_;
    bool appliedKnown_ = false;
    bool arraysReady_ = false;
    GLfloat colour_[4] = {1, 1, 1, 1};
    bool colourSynced_ = false;
    DrawCounts counts_;
};
