// Breakable blocks: eight hits, the damage pictures, the upper-tower picture, the doubled hit
// sound, blocking the climber, breaking into four pieces; the pieces' fall and their removal.
#include "CreatureFixture.h"
#include "game/enemies/BlockPiece.h"
#include "game/enemies/BreakableBlock.h"

namespace {

using BlockTest = CreatureTest;

TEST_F(BlockTest, EightHitsBreakItThroughFourDamagePictures) {
    BreakableBlock* b = Add(new BreakableBlock(1, 6.0f, -4.0f));
    EXPECT_FLOAT_EQ(b->x, 384.0f);
    EXPECT_FLOAT_EQ(b->y, -256.0f);
    // Picture shown at each remaining hit-point count (the frame follows the damage).
    const int expected[9] = {3, 2, 2, 1, 1, 1, 0, 0, 0};  // index = HP
    Frame();
    EXPECT_EQ(b->sprite->CurFrame, expected[8]);
    for (int hp = 7; hp >= 1; --hp) {
        b->Hit(1, 0);
        ASSERT_EQ(b->HP, hp);
        Frame();
        ASSERT_TRUE(InList(b)) << hp;
        EXPECT_EQ(b->sprite->CurFrame, expected[hp]) << "at " << hp << " hit points";
        EXPECT_EQ(b->sprite->CurLayer, 0);
    }
    EXPECT_TRUE(All<BlockPiece>().empty());
    b->Hit(1, 0);
    Halt();
    Frame();
    EXPECT_FALSE(InList(b)) << "gone in the frame it breaks";
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavBlockBreak), 1);
    }
    std::vector<BlockPiece*> pieces = All<BlockPiece>();
    ASSERT_EQ(pieces.size(), 4u);
    // Quarters of the picture one stage before the last, each 32 x 32 on screen.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pieces[i]->frame, 4 + i % 2);
        EXPECT_EQ(pieces[i]->layer, i / 2);
        EXPECT_EQ(pieces[i]->sizeX, 16);
        EXPECT_EQ(pieces[i]->cw, 32);
        EXPECT_GE(pieces[i]->velX, -3.0f);
        EXPECT_LT(pieces[i]->velX, 3.0f);
    }
    EXPECT_LT(pieces[0]->x, pieces[1]->x);
    EXPECT_LT(pieces[0]->y, pieces[2]->y);
    EXPECT_FALSE(pieces[0]->canHit);
    EXPECT_FALSE(pieces[0]->hurtPlayer);
}

TEST_F(BlockTest, EvenHitPointsSoundTheHitTwice) {
    if (!AudioOpen()) GTEST_SKIP() << "no audio device";
    if (!Entity::wavBlockHit || !Entity::wavBlockHit->sound) GTEST_SKIP() << "no hit sound";
    BreakableBlock* b = Add(new BreakableBlock(1, 6.0f, -4.0f));
    b->Hit(0, 0);  // 7
    EXPECT_EQ(Playing(Entity::wavBlockHit), 0);
    b->Hit(0, 0);  // 6
    EXPECT_EQ(Playing(Entity::wavBlockHit), 2);
}

TEST_F(BlockTest, HighUpTheTowerItShowsTheUpperPictureAndBreaksIntoItsPieces) {
    PlacePlayer(4, -240);
    BreakableBlock* b = Add(new BreakableBlock(1, 6.0f, -243.0f));
    Frame();
    EXPECT_EQ(b->sprite->CurLayer, 0) << "row -240 itself is still the lower tower";
    PlacePlayer(4, -241);
    Frame();
    EXPECT_EQ(b->sprite->CurLayer, 3);
    for (int i = 0; i < 8; ++i) b->Hit(0, 0);
    Frame();
    std::vector<BlockPiece*> pieces = All<BlockPiece>();
    ASSERT_EQ(pieces.size(), 4u);
    for (BlockPiece* piece : pieces) {
        EXPECT_GE(piece->layer, 6);
        EXPECT_LE(piece->layer, 7);
    }
}

TEST_F(BlockTest, ThePlayerCannotClimbIntoItsTileUntilItBreaks) {
    PlacePlayer(4, -2);
    BreakableBlock* b = Add(new BreakableBlock(1, 5.0f, -2.0f));
    Frame();
    EXPECT_FALSE(p->Climb(1, 0));
    EXPECT_EQ(p->tX, 4);
    for (int i = 0; i < 8; ++i) b->Hit(1, 0);
    Frames(2);
    ASSERT_FALSE(InList(b));
    EXPECT_TRUE(p->Climb(1, 0));
    EXPECT_EQ(p->tX, 5);
}

TEST_F(BlockTest, PiecesFallInAnArcAndAreRemovedOnceFarBelowTheView) {
    BlockPiece* piece = Add(new BlockPiece(1, 300, Building::scrollY + 100, 16, 16, 4, 0));
    piece->velX = 2.0f;
    const float x0 = piece->x, y0 = piece->y;
    Frames(10);
    EXPECT_EQ(piece->breakTimer, 0);
    EXPECT_GT(piece->x, x0);
    EXPECT_GT(piece->y, y0);
    // Just below the view it is still kept (the camera may yet follow it) ...
    int f = 0;
    while (InList(piece) && piece->y - Building::scrollY < 500 && f < 1000) {
        Frame();
        ++f;
    }
    ASSERT_TRUE(InList(piece));
    // ... but it does not pile up for ever.
    for (f = 0; f < 1000 && InList(piece); ++f) Frame();
    EXPECT_FALSE(InList(piece));
}

}  // namespace
