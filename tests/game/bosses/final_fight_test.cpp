// Whole fights with the final boss through the game's own frame, played by keys alone: the eye is
// beaten from its home arena through its forms to the ending, whose cards all show before a key
// quits. The player is mortal and has the lives the game gives.
#include <cstdio>
#include <set>

#include "FinalFighter.h"
#include "FinalFixture.h"

namespace {

class FinalFight : public FinalTest {
protected:
    void Press(const bot::Keys& k) {
        for (int vk : {int(VK_LEFT), int(VK_RIGHT), int(VK_UP), int(VK_DOWN), int('X'), int('C'), int(VK_RETURN)}) e->keys[vk] = k.down[vk];
    }
};

TEST_F(FinalFight, EachFormCanBeHurtByAMortalFighter) {
    for (int form = 0; form < 3; ++form) {
        SCOPED_TRACE(form);
        SetUp();
        FinalBoss* b = Spawn();
        b->aiTargetArea = form;
        b->aiPhase = 10;  // straight to the excursion
        fight::FinalFighter f;
        bot::Keys k;
        const int livesBefore = Player::Lives;
        int frames = 0;
        while (b->aiPhase != 20 && b->aiPhase != 21 && frames < 2000) {
            f.Think(&k);
            Press(k);
            Tick(false);
            ++frames;
        }
        EXPECT_EQ(b->side, form == 0 ? 2 : (form == 1 ? 4 : 1));
        EXPECT_LE(b->HP, b->MaxHP - 40) << "the fighter wounds the eye in form " << form;
        EXPECT_GE(Player::Lives, 0) << "the fighter survives the form";
        std::printf("form %d alone: HP %d, lives %d -> %d, %d frames\n", form, b->HP, livesBefore, Player::Lives,
                    frames);
        TearDown();
    }
}

TEST_F(FinalFight, AFighterBeatsTheEyeInAllItsFormsAndTheCreditsRollToTheQuitKey) {
    FinalBoss* b = Spawn();
    fight::FinalFighter f;
    bot::Keys k;
    std::set<int> formsHurt;
    int formHP = b->HP, lastPhase = b->aiPhase;
    long frame = 0;
    for (; frame < 60000 && Building::scenePhase == 0 && b->aiPhase != 52; ++frame) {
        ASSERT_GE(Player::Lives, 0) << "the fighter ran out of lives at frame " << frame << ", boss HP " << b->HP
                                    << ", phase " << b->aiPhase << ", form " << b->aiTargetArea;
        f.Think(&k);
        Press(k);
        Tick(false);
        if (b->aiPhase <= 99 && lastPhase > 99) {
            std::printf("form %d: HP %d -> %d, lives %d, frame %ld\n", b->aiTargetArea, formHP, b->HP, Player::Lives,
                        frame);
            if (b->HP < formHP) formsHurt.insert(b->aiTargetArea);
        }
        if (b->aiPhase == 99) formHP = b->HP;
        lastPhase = b->aiPhase;
    }
    ASSERT_EQ(b->aiPhase, 52) << "the eye still has " << b->HP << " HP after " << frame << " frames";
    EXPECT_GE(formsHurt.size(), 2u) << "the eye was hurt in its forms, not only at home";
    EXPECT_TRUE(InList(b)) << "the boss is never deleted by its own death";

    // The ending: seven cards in order, then the veil closes and a key quits.
    std::vector<int> phases;
    for (int i = 0; i < 5000 && Building::scenePhase != 100; ++i) {
        Tick(false);
        if (phases.empty() || phases.back() != Building::scenePhase) phases.push_back(Building::scenePhase);
        ASSERT_FALSE(platform::QuitRequested()) << "quit in phase " << Building::scenePhase;
    }
    std::vector<int> expected = {2, 10, 11, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 100};
    EXPECT_EQ(phases, expected);
    e->keys['C'] = true;
    int waited = 0;
    while (!platform::QuitRequested() && waited < 2000) {
        EXPECT_LT(e->fadePerc, 1.0f + 1e-6f);
        if (e->fadePerc < 1.0f) {
            Tick(false);
            EXPECT_TRUE(e->fadePerc == 1.0f || !platform::QuitRequested()) << "a key quits only at the full veil";
        } else {
            HandleKeys(e);
        }
        ++waited;
    }
    EXPECT_TRUE(platform::QuitRequested()) << "the fade stopped at " << e->fadePerc;
    EXPECT_EQ(e->fadePerc, 1.0f);
}

}  // namespace
