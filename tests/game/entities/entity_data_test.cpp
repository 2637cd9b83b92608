// The shared sheets and sounds of the entities load from the game's data folder.
#include <gtest/gtest.h>

#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/entities/Entity.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace {

TEST(EntityInit, LoadsEverySharedSheetAndSound) {
    testsupport::EnsureGL();
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    GameEngine e;
    e.SoundInit();
    Entity::Init();
    for (GImage* im : {Entity::enemy_sheet_1, Entity::boss_sheet_1, Entity::block_sheet_1, Entity::final_boss_sheet}) {
        ASSERT_NE(im, nullptr);
        EXPECT_TRUE(im->loaded) << im->filename;
    }
    int f, c;
    Uint16 fmt;
    if (Mix_QuerySpec(&f, &fmt, &c) == 0) GTEST_SKIP() << "no audio device to load sounds into";
    GSound* sounds[] = {Entity::wavDie0,        Entity::wavDie1,        Entity::wavDie2,       Entity::wavDie3,
                        Entity::wavBlockBreak,  Entity::wavBlockHit,    Entity::wavRescue,     Entity::wavFlamer,
                        Entity::wavCrawl,       Entity::wavBouncerFlip, Entity::wavExplosion,  Entity::wavFireShot,
                        Entity::wavCrabShoot,   Entity::wavSquidShoot,  Entity::wavSquidSplat, Entity::wavSquidArm,
                        Entity::wavSquidArmDie, Entity::wavBarferDie,   Entity::wavGenDie,     Entity::wavAllGenDie,
                        Entity::wavEBTeleport,  Entity::wavEBLasers,    Entity::wavEBGoo,      Entity::wavEBMegaBlast,
                        Entity::wavEBHit};
    int i = 0;
    for (GSound* s : sounds) {
        ASSERT_NE(s, nullptr) << "sound " << i;
        EXPECT_NE(s->sound, nullptr) << "sound " << i;
        ++i;
    }
}

}  // namespace
