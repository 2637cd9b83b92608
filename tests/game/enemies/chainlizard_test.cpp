// The chain lizard: when it wakes, how its chain grows and where it stops, what the chain blocks,
// what can be shot, the break-off when the lizard dies, and links that outlive their partners.
#include <cmath>
#include <set>

#include "CreatureFixture.h"
#include "engine/FramePng.h"
#include "game/enemies/ChainLink.h"
#include "game/enemies/ChainLizard.h"
#include "game/player/Flame.h"

namespace {

class ChainLizardTest : public CreatureTest {
protected:
    // The links from the top down, following nextLink.
    static std::vector<ChainLink*> Links(ChainLizard* l) {
        std::vector<ChainLink*> out;
        for (ChainLink* k = l->chain; k && out.size() < 100; k = k->nextLink) out.push_back(k);
        return out;
    }
    // Solid wall on the tile a climber standing on (tx, ty) would hold.
    static void Solid(int tx, int ty) {
        Building* seg = Building::SegmentForRow(ty);
        ASSERT_NE(seg, nullptr);
        seg->GetBlock(1, tx, ty + 1)->type = 1;
    }
    // A lizard on (tx, ty) with the player three rows below it: near enough to wake it.
    ChainLizard* NearLizard(int tx, int ty) {
        ChainLizard* l = Add(new ChainLizard(1, static_cast<float>(tx), static_cast<float>(ty), 0));
        PlacePlayer(2, ty + 3);
        p->invinceTimer = 1000000;
        return l;
    }
};

TEST_F(ChainLizardTest, ClingsToItsTileHarmlessUntilThePlayerComesWithin240Pixels) {
    ChainLizard* l = Add(new ChainLizard(1, 4.0f, -12.0f, 0));
    EXPECT_FLOAT_EQ(l->x + l->cx, 4 * 64);
    EXPECT_FLOAT_EQ(l->y + l->cy, -12 * 64);
    EXPECT_TRUE(l->wallDraw);
    EXPECT_FALSE(l->hurtPlayer);

    // Near enough for creatures to think, too far for the lizard.
    PlacePlayer(4, -7);
    float gap = std::fabs(l->GetCenterY() - p->GetCenterY());
    ASSERT_GT(gap, ChainLizard::kWakeDistance);
    ASSERT_LT(gap, l->AIdist);
    Frames(50);
    EXPECT_EQ(l->chain.get(), nullptr);
    EXPECT_TRUE(All<ChainLink>().empty());

    PlacePlayer(4, -9);
    ASSERT_LE(std::fabs(l->GetCenterY() - p->GetCenterY()), ChainLizard::kWakeDistance);
    Frame();
    ASSERT_NE(l->chain.get(), nullptr);
    // The top link hangs from the lizard's tile, centred on its column.
    EXPECT_FLOAT_EQ(l->chain->x, 4.5f * 64 - 10);
    EXPECT_FLOAT_EQ(l->chain->y, -12 * 64 + 24);
    // Touching the lizard does nothing to the player.
    p->invinceTimer = 0;
    PlacePlayer(4, -12);
    Frames(5);
    EXPECT_FALSE(p->dead);
}

TEST_F(ChainLizardTest, InOpenWallTheChainGrowsALinkEvery8FramesToTwelveEndingInTheEndPiece) {
    ChainLizard* l = NearLizard(5, -10);
    std::vector<int> grownAt;
    size_t seen = 0;
    for (int f = 0; f < 200; ++f) {
        Frame();
        size_t n = All<ChainLink>().size();
        if (n != seen) grownAt.push_back(f);
        seen = n;
    }
    std::vector<ChainLink*> links = Links(l);
    ASSERT_EQ(links.size(), 12u);
    EXPECT_EQ(All<ChainLink>().size(), 12u) << "no stray links outside the chain";
    // Each link slides its 20 pixels in eight updates, the first in the frame it is made (the list
    // updates what is appended during its pass), and then pays out the next.
    // The top link is made at its place and pays out the second at once; ten more follow.
    ASSERT_EQ(grownAt.size(), 11u);
    for (size_t i = 1; i < grownAt.size(); ++i) EXPECT_EQ(grownAt[i] - grownAt[i - 1], 7) << "link " << i + 1;
    for (size_t i = 0; i < links.size(); ++i) {
        ChainLink* k = links[i];
        EXPECT_EQ(k->GetLength(), static_cast<int>(i) + 1);
        EXPECT_FLOAT_EQ(k->x, links[0]->x) << "straight down";
        EXPECT_FLOAT_EQ(k->y, links[0]->y + 20.0f * i);
        EXPECT_EQ(k->lastLink.get(), i == 0 ? nullptr : links[i - 1]);
        EXPECT_FALSE(k->creatingLinks);
    }
    // Every link shows the plain picture and keeps showing it; only the last is the end piece.
    for (int f = 0; f < 40; ++f) {
        Frame();
        for (size_t i = 0; i < links.size(); ++i)
            ASSERT_EQ(links[i]->sprite->CurFrame, i + 1 == links.size() ? 15 : 14)
                << "link " << i + 1 << " frame " << f;
    }
}

// The chain stops where the point 20 pixels below a link's bottom lies in solid wall: right away
// when that is the lizard's own tile, after the second link when it is the tile below. Checked high
// up the tower and near the ground, where tile rows are counted on the other side of zero.
TEST_F(ChainLizardTest, SolidWallBelowEndsTheChainEarly) {
    for (int row : {-10, 1}) {
        for (int solidBelow : {0, 1}) {
            SCOPED_TRACE("row " + std::to_string(row) + ", solid " + std::to_string(solidBelow) + " below");
            Entity::DeleteAll();
            Building::DestroyAll();
            for (int i = 0; i < levelCount; ++i) Building::b[i] = new Building("OpenWall", 8, 50, 50 * i);
            Building::cur = Building::b[0];
            Player::body = p = new Player(5, -45);
            Entity::entList.push_back(p);
            Solid(3, row + solidBelow);
            ChainLizard* l = NearLizard(3, row);
            Frames(150);
            std::vector<ChainLink*> links = Links(l);
            ASSERT_EQ(links.size(), static_cast<size_t>(1 + solidBelow));
            EXPECT_EQ(links.back()->sprite->CurFrame, 15);
            EXPECT_EQ(All<ChainLink>().size(), links.size());
        }
    }
}

TEST_F(ChainLizardTest, TheHangingChainBarsTheClimbersWayUntilTheLizardDies) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(150);
    ASSERT_EQ(Links(l).size(), 12u);
    Building::cur->FindBlockedLocations();
    // The chain spans the four rows below the lizard's tile.
    for (int r = -9; r <= -7; ++r) EXPECT_FALSE(Building::cur->openSpot(1, 4, r + 1, FALSE)) << "row " << r;
    EXPECT_TRUE(Building::cur->openSpot(1, 3, -8 + 1, FALSE)) << "the next column stays free";

    l->HP = 0;
    Frames(2);
    Building::cur->FindBlockedLocations();
    for (int r = -9; r <= -7; ++r) EXPECT_TRUE(Building::cur->openSpot(1, 4, r + 1, FALSE)) << "row " << r;
}

TEST_F(ChainLizardTest, ShotsPassThroughTheChainToTheLizardAndItsDeathBreaksTheChainOff) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(150);
    std::vector<ChainLink*> links = Links(l);
    ASSERT_EQ(links.size(), 12u);
    // Straight up the column from the chain's lowest row, as far as the gun reaches on screen.
    PlacePlayer(4, -6);
    p->Aim(0, -1);
    for (int f = 0; f < 400 && l->HP > 0; ++f) {
        p->Fire();
        p->sprite->Step();
    }
    EXPECT_EQ(l->HP, 0) << "twenty hit points";
    for (ChainLink* k : links) EXPECT_EQ(k->HP, k->MaxHP);

    // Every link falls with its own sideways drift in [-1, 0.99].
    Frame();
    ASSERT_TRUE(l->dead);
    std::set<float> drifts;
    for (ChainLink* k : links) {
        ASSERT_TRUE(InList(k));
        EXPECT_TRUE(k->dead);
        EXPECT_TRUE(k->applyGravity);
        EXPECT_GE(k->velX, -1.0f);
        EXPECT_LE(k->velX, 0.99f);
        drifts.insert(k->velX);
    }
    EXPECT_GT(drifts.size(), 3u);
    EXPECT_TRUE(l->applyGravity) << "the lizard falls too";
    float y0 = links[5]->y;
    Frames(20);
    EXPECT_GT(links[5]->y, y0 + 20) << "falling, not held at its place";
    Frames(300);
    EXPECT_TRUE(All<ChainLink>().empty());
    EXPECT_TRUE(All<ChainLizard>().empty());
}

TEST_F(ChainLizardTest, TheFlameBurnsTheLizardButNotItsLinks) {
    ChainLizard* l = Add(new ChainLizard(1, 4.0f, -3.0f, 0));
    ChainLink* k = Add(new ChainLink(1, 5 * 64 + 20, -2 * 64 + 20, 5 * 64 + 20, -2 * 64 + 20));
    k->creatingLinks = 0;
    p->invinceTimer = 1000000;
    p->haveWeapon[1] = 1;
    p->ammo[1] = 500;
    p->ChangeWeapon(1);
    p->Aim(1, 0);
    for (int f = 0; f < 60; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_EQ(k->HP, k->MaxHP);
    PlacePlayer(4, -1);
    p->Aim(0, -1);
    for (int f = 0; f < 120 && !l->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_LT(l->HP, l->MaxHP);
}

TEST_F(ChainLizardTest, ADeathWhileTheChainGrowsLeavesNoLinkBehind) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(30);  // a few links down, the bottom one still sliding or deciding
    size_t before = All<ChainLink>().size();
    ASSERT_GT(before, 1u);
    ASSERT_LT(before, 12u);
    l->HP = 0;
    for (int f = 0; f < 400; ++f) {
        Frame();
        ASSERT_LE(All<ChainLink>().size(), before) << "a broken chain grew at frame " << f;
    }
    EXPECT_TRUE(All<ChainLink>().empty());
}

TEST_F(ChainLizardTest, AStartedChainIsNeverRestarted) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(150);
    ChainLink* top = l->chain;
    ASSERT_NE(top, nullptr);
    PlacePlayer(4, 0);  // away
    Frames(30);
    PlacePlayer(4, -8);  // and back
    Frames(150);
    EXPECT_EQ(l->chain.get(), top);
    EXPECT_EQ(All<ChainLink>().size(), 12u);
    l->StartChain();
    Frames(20);
    EXPECT_EQ(All<ChainLink>().size(), 12u);
}

TEST_F(ChainLizardTest, FreedPartnersLeaveNullLinksNotDanglingOnes) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(150);
    std::vector<ChainLink*> links = Links(l);
    ASSERT_EQ(links.size(), 12u);
    // A middle link goes: its neighbours let go of it, the lower part counts from the gap.
    ChainLink* mid = links[5];
    Entity::entList.erase(std::find(Entity::entList.begin(), Entity::entList.end(), mid));
    delete mid;
    EXPECT_EQ(links[4]->nextLink.get(), nullptr);
    EXPECT_EQ(links[6]->lastLink.get(), nullptr);
    EXPECT_EQ(links[11]->GetLength(), 6);
    Frames(20);
    // The top link goes: the lizard forgets it, and dying breaks off nothing it cannot reach.
    ChainLink* top = links[0];
    Entity::entList.erase(std::find(Entity::entList.begin(), Entity::entList.end(), top));
    delete top;
    EXPECT_EQ(l->chain.get(), nullptr);
    EXPECT_EQ(links[1]->lastLink.get(), nullptr);
    // The lizard goes first: its links live on without it.
    Entity::entList.erase(std::find(Entity::entList.begin(), Entity::entList.end(), static_cast<Entity*>(l)));
    delete l;
    Frames(20);
    EXPECT_EQ(All<ChainLink>().size(), 10u);
}

TEST_F(ChainLizardTest, TheFactoryPlacesALizardOneRowAboveTheDropTile) {
    // tileX = (64 + 200) / 64 = 4, tileY = -640 / 64 - 41 = -51, one row up: -52.
    Entity* e = Entity::Create("CHAINLIZARD", 8, 50, 3, 200, -640);
    ASSERT_NE(e, nullptr);
    auto* l = dynamic_cast<ChainLizard*>(e);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->side, 3);
    EXPECT_EQ(l->tX, 4);
    EXPECT_EQ(l->tY, -52);
    EXPECT_EQ(l->type, 0);
    EXPECT_EQ(l->HP, 20);
    EXPECT_STREQ(l->ClassName(), "ChainLizard");
    delete e;
}

// The shipped level with a lizard over a one-column shaft: the lizard sits at the shaft's top and,
// once woken, its chain fills the shaft.
TEST_F(ChainLizardTest, OnTheShippedLevelTheChainFillsTheShaftBelowTheLizard) {
    delete Building::b[6];
    Building::b[6] = new Building("Level7", 8, 50, 300);
    ChainLizard* l = nullptr;
    for (Entity* e : Building::b[6]->addList)
        if (auto* c = dynamic_cast<ChainLizard*>(e); c && c->side == 1) l = c;
    ASSERT_NE(l, nullptr) << "the level places a chain lizard on side 1";
    Building::b[6]->AddAllEntities();
    Building::cur = Building::b[6];
    PlacePlayer(l->tX, l->tY + 3);
    p->invinceTimer = 1000000;
    Frames(150);
    std::vector<ChainLink*> links = Links(l);
    ASSERT_GE(links.size(), 4u);
    // The shaft below the lizard is solid on both sides, open in the lizard's column.
    Building* seg = Building::b[6];
    EXPECT_EQ(seg->GetBlock(1, l->tX, l->tY + 1)->type, 0);
    EXPECT_NE(seg->GetBlock(1, l->tX - 1, l->tY + 2)->type, 0);
    EXPECT_NE(seg->GetBlock(1, l->tX + 1, l->tY + 2)->type, 0);
    // No link hangs in solid wall.
    for (ChainLink* k : links) {
        int row = static_cast<int>(std::floor((k->y + k->ch - 1) / 64.0f));
        EXPECT_EQ(seg->GetBlock(1, l->tX, row + 1)->type, 0) << "link " << k->GetLength();
    }
}

// Drawn on the wall: the frame with the lizard and its chain differs from the frame without them
// only where they hang (the lizard's picture around its tile, the links straight below it).
TEST_F(ChainLizardTest, TheLizardAndItsChainAreDrawnWhereTheyHang) {
    ChainLizard* l = NearLizard(4, -10);
    Frames(150);
    std::vector<ChainLink*> links = Links(l);
    ASSERT_EQ(links.size(), 12u);
    auto draw = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GameEngine::gEngine->SetScreenProjection();
        GameDraw(GameEngine::gEngine);
        return testsupport::ReadFrame();
    };
    std::vector<unsigned char> with = draw();
    SaveFramePng(std::string(BRACKMOOR_BINARY_DIR) + "/chain_lizard_frame.png", 640, 480);
    l->sprite->Hide();
    for (ChainLink* k : links) k->sprite->Hide();
    std::vector<unsigned char> without = draw();
    // On screen the wall's pixel (x, y) shows world (x, y + scrollY).
    const float top = l->y + l->offY - Building::scrollY;
    const float left = l->x + l->offX;
    int inside = 0, outside = 0, onChain = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (testsupport::PixelAt(with, x, y) == testsupport::PixelAt(without, x, y)) continue;
            const bool lizard = x >= left && x < left + 128 && y >= top && y < top + 128;
            const bool chain = x >= links[0]->x && x < links[0]->x + 32 && y >= links[0]->y - Building::scrollY &&
                               y < links.back()->y - Building::scrollY + 32;
            if (lizard || chain)
                ++inside;
            else
                ++outside;
            if (chain && !lizard) ++onChain;
        }
    }
    EXPECT_GT(inside, 500);
    EXPECT_GT(onChain, 100) << "the lower links show";
    EXPECT_EQ(outside, 0);
}

}  // namespace
