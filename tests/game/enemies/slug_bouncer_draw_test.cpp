// The slug and the bouncer on screen: each frame with them differs from the frame without them only
// inside their own pictures (a 64-pixel square at their drawing position, mirrored or not).
#include <string>

#include "CreatureFixture.h"
#include "engine/Harness.h"
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
    // Counts the changed pixels inside and outside the given creatures' squares.
    static void Compare(const std::vector<unsigned char>& with, const std::vector<unsigned char>& without,
                        const std::vector<Entity*>& es, int* inside, int* outside) {
        *inside = *outside = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (testsupport::PixelAt(with, x, y) == testsupport::PixelAt(without, x, y)) continue;
                bool in = false;
                for (Entity* e : es) {
                    const float left = e->x + e->offX, top = e->y + e->offY - Building::scrollY;
                    in = in || (x >= left && x < left + 64 && y >= top && y < top + 64);
                }
                if (in) ++*inside; else ++*outside;
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
    harness::SaveFramePng(std::string(BRACKMOOR_BINARY_DIR) + "/slug_bouncer_frame.png", 640, 480);
    left->sprite->Hide();
    right->sprite->Hide();
    b->sprite->Hide();
    std::vector<unsigned char> without = Draw();
    int inside = 0, outside = 0;
    Compare(with, without, {left, right, b}, &inside, &outside);
    EXPECT_GT(inside, 3 * 200);
    EXPECT_EQ(outside, 0);
}

}  // namespace
