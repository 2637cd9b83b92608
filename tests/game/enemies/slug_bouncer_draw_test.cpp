// The slug and the bouncer on screen: each frame with them differs from the frame without them only
// inside their own pictures (a 64-pixel square at their drawing position, mirrored or not), and
// every picture of the slug lies inside its hit box on either edge.
#include <string>

#include "CreatureFixture.h"
#include "engine/FramePng.h"
#include "game/enemies/Bouncer.h"
#include "game/enemies/Slug.h"

namespace {

class SlugBouncerDrawTest : public CreatureTest {
protected:
    static std::vector<unsigned char> Draw() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GameEngine::gEngine->SetScreenProjection();
        GameDraw(GameEngine::gEngine);
        return testsupport::ReadFrame();
    }
    // Whether (x, y) lies in the creature's picture square, or in its hit box.
    static bool In(const Entity* e, int x, int y, bool hitBox) {
        float left = e->x + e->offX, top = e->y + e->offY - Building::scrollY, w = 64, h = 64;
        if (hitBox) {
            left += e->cx;
            top += e->cy;
            w = static_cast<float>(e->cw);
            h = static_cast<float>(e->ch);
        }
        return x >= left && x < left + w && y >= top && y < top + h;
    }
    // Counts the changed pixels inside and outside the given creatures' squares; with `hitBoxes`,
    // those of their squares inside and outside their hit boxes.
    static void Compare(const std::vector<unsigned char>& with, const std::vector<unsigned char>& without,
                        const std::vector<Entity*>& es, int* inside, int* outside, bool hitBoxes = false) {
        *inside = *outside = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (testsupport::PixelAt(with, x, y) == testsupport::PixelAt(without, x, y)) continue;
                bool square = false, in = false;
                for (const Entity* e : es) {
                    square = square || In(e, x, y, false);
                    in = in || In(e, x, y, hitBoxes);
                }
                if (hitBoxes && !square) continue;  // elsewhere the world's own animations step on
                if (in)
                    ++*inside;
                else
                    ++*outside;
            }
        }
    }
};

TEST_F(SlugBouncerDrawTest, BothAreDrawnWhereTheyAreAndNowhereElse) {
    p->invinceTimer = 1000000;
    Building::b[0]->GetBlock(1, 2, -3 + 1)->type = 1;
    Slug* left = Add(new Slug(1, 128, -256));
    Slug* right = Add(new Slug(1, 448, -64));
    Bouncer* b = Add(new Bouncer(1, 64 * 3, 64 * -3));
    Frames(20);
    std::vector<unsigned char> with = Draw();
    SaveFramePng(std::string(BRACKMOOR_BINARY_DIR) + "/slug_bouncer_frame.png", 640, 480);
    left->sprite->Hide();
    right->sprite->Hide();
    b->sprite->Hide();
    std::vector<unsigned char> without = Draw();
    int inside = 0, outside = 0;
    Compare(with, without, {left, right, b}, &inside, &outside);
    EXPECT_GT(inside, 3 * 200);
    EXPECT_EQ(outside, 0);
}

// Every picture of the slug (crawling, spitting, dying), on the left edge and mirrored on the right,
// lies inside its hit box: a shot that meets the drawn slug meets the box.
TEST_F(SlugBouncerDrawTest, EveryPictureOfTheSlugLiesInsideItsHitBox) {
    p->invinceTimer = 1000000;
    Slug* left = Add(new Slug(1, 128, -256));
    Slug* right = Add(new Slug(1, 448, -64));
    Frames(1);
    for (int frame = left->aWalkUp.start; frame <= left->aDead.end; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        for (Slug* s : {left, right}) {
            s->sprite->SetAnimationOff();
            s->sprite->CurFrame = frame;
            s->sprite->Show();
        }
        std::vector<unsigned char> with = Draw();
        left->sprite->Hide();
        right->sprite->Hide();
        std::vector<unsigned char> without = Draw();
        int inside = 0, outside = 0;
        Compare(with, without, {left, right}, &inside, &outside, true);
        EXPECT_GT(inside, 2 * 40);
        EXPECT_EQ(outside, 0);
    }
}

}  // namespace
