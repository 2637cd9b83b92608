#include "engine/QuadBatch.h"

#include <cstddef>

QuadBatch& QuadBatch::Shared() {
    static QuadBatch batch;
    return batch;
}

QuadBatch::QuadBatch() : vertices_(static_cast<size_t>(kMaxQuads) * kVerticesPerQuad) {}

void QuadBatch::Use(bool textured, const QuadTransform& t) {
    if (quads_ > 0 && (textured != textured_ || t != run_)) Flush();
    textured_ = textured;
    run_ = t;
}

void QuadBatch::Add(const Corner c[4]) {
    if (quads_ == kMaxQuads) Flush();
    // Two triangles, (0 1 2) and (0 2 3): the very pair the software renderer makes of a quad drawn on
    // its own, which it then rasterizes as one rectangle where it can. A run of GL_QUADS would be cut
    // along the other diagonal and never as rectangles, moving a few edge pixels of scaled sprites.
    static const int kOrder[kVerticesPerQuad] = {0, 1, 2, 0, 2, 3};
    Vertex* v = &vertices_[static_cast<size_t>(quads_) * kVerticesPerQuad];
    for (int i = 0; i < kVerticesPerQuad; ++i) {
        const Corner& k = c[kOrder[i]];
        v[i] = {k.x, k.y, k.z, k.u, k.v, colour_[0], colour_[1], colour_[2], colour_[3]};
    }
    ++quads_;
    ++counts_.quads;
}

void QuadBatch::AddAlone(const Corner c[4]) {
    Flush();
    // As a quad of its own, the renderer clips it exactly as it always has.
    for (int i = 0; i < 4; ++i)
        vertices_[i] = {c[i].x, c[i].y, c[i].z, c[i].u, c[i].v, colour_[0], colour_[1], colour_[2], colour_[3]};
    quads_ = 1;
    ++counts_.quads;
    alone_ = true;
    Flush();
}

void QuadBatch::SetColor(float r, float g, float b, float a) {
    if (colour_[0] == r && colour_[1] == g && colour_[2] == b && colour_[3] == a) return;
    colour_[0] = r;
    colour_[1] = g;
    colour_[2] = b;
    colour_[3] = a;
    colourSynced_ = false;
}

// The same calls, in the same order, as a quad drawn on its own under this transform would make, so
// that GL builds the very same matrix.
void QuadBatch::ApplyTransform() {
    if (appliedKnown_ && applied_ == run_) return;
    glLoadIdentity();
    ++counts_.stateChanges;
    if (run_.kind != QuadTransform::kScreen) {
        glTranslatef(run_.x, run_.y, run_.z);
        glRotatef(run_.angle, 0, 0, 1);
        counts_.stateChanges += 2;
    }
    if (run_.kind == QuadTransform::kPlaced && run_.angle2 != 0) {
        glRotatef(run_.angle2, 0, 0, 1);
        ++counts_.stateChanges;
    }
    if (run_.kind == QuadTransform::kTower) {
        glRotatef(run_.rotx, 0, 1, 0);
        glRotatef(run_.roty, 1, 0, 0);
        counts_.stateChanges += 2;
    }
    applied_ = run_;
    appliedKnown_ = true;
}

void QuadBatch::Flush() {
    if (quads_ > 0) {
        if (!arraysReady_) {
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_COLOR_ARRAY);
            // The array never moves: the pointers hold until someone else sets them.
            const Vertex* v = vertices_.data();
            glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &v->x);
            glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->u);
            glColorPointer(4, GL_FLOAT, sizeof(Vertex), &v->r);
            arraysReady_ = true;
            counts_.stateChanges += 6;
        }
        ApplyTransform();
        if (!textured_) {
            glDisable(GL_TEXTURE_2D);
            ++counts_.stateChanges;
        }
        if (alone_)
            glDrawArrays(GL_QUADS, 0, 4);
        else
            glDrawArrays(GL_TRIANGLES, 0, quads_ * kVerticesPerQuad);
        alone_ = false;
        ++counts_.drawCalls;
        if (!textured_) {
            glEnable(GL_TEXTURE_2D);
            ++counts_.stateChanges;
        }
        quads_ = 0;
        // GL leaves its current colour undefined after drawing from a colour array.
        colourSynced_ = false;
    }
}

void QuadBatch::SyncColor() {
    if (!colourSynced_) {
        glColor4fv(colour_);
        ++counts_.stateChanges;
        colourSynced_ = true;
    }
}

void QuadBatch::ForgetGLState() {
    appliedKnown_ = false;
    arraysReady_ = false;
    colourSynced_ = false;
}

DrawCounts QuadBatch::TakeCounts() {
    DrawCounts c = counts_;
    counts_ = DrawCounts();
    return c;
}
