// Whole fights with the final boss through the game's own frame, played by keys alone: the eye is
// beaten from its home arena through its forms to the ending, whose cards all show before a key
// quits. The player is mortal and has the lives the game gives.
//
// BRACKMOOR_FINAL_SHOTS=DIR draws the fights and saves a picture of each form into DIR:
// final_flying.png (the flying eye chasing the fighter), final_small.png (the robots' beam) and
// final_crawlers.png (a crawler's cracked shell); filter to FinalFight.EachFormCanBeHurtByAMortalFighter.
#include <GL/gl.h>

#include <cstdio>
#include <set>

#include "FinalFixture.h"
#include "engine/FramePng.h"
#include "engine/GFont.h"
#include "game/autoplay/FinalFighter.h"
#include "game/flow/MainFile.h"

namespace {

class FinalFight : public FinalTest {
protected:
    void Press(const autoplay::Keys& k) {
        for (int vk : autoplay::kPlayerKeys) e->keys[vk] = k.down[vk];
    }
};

TEST_F(FinalFight, EachFormCanBeHurtByAMortalFighter) {
    // A picture shows the lives and ammunition as the game does, in its HUD font.
    if (!ShotsDir().empty() && !bkmFont) bkmFont = new GFont("data/font/bkmfont.cff", 1.0f);
    for (int form = 0; form < 3; ++form) {
        SCOPED_TRACE(form);
        SetUp();
        FinalBoss* b = Spawn();
        b->aiTargetArea = form;
        b->aiPhase = FinalBoss::kPhaseBlackout;  // straight to the excursion
        autoplay::FinalFighter f;
        autoplay::Keys k;
        const int livesBefore = Player::Lives;
        int frames = 0;
        bool shot = false;
        while (b->aiPhase != FinalBoss::kPhaseFormEnd && b->aiPhase != FinalBoss::kPhaseFlickerBack && frames < 2000) {
            f.Think(&k);
            Press(k);
            if (!ShotsDir().empty()) {
                // A drawn run starts every frame on a clear screen, as the game's loop does.
                gEngine.FlushQuads();  // what was drawn before goes before the clear
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                e->SetScreenProjection();
            }
            Tick(false);
            ++frames;
            // The pictures: the whole flying eye well into its flight, the robots' beam as it
            // crosses, a crawler cracked under fire.
            if (!ShotsDir().empty() && !shot) {
                const float sx = b->x + b->offX, sy = b->y + b->offY - Building::scrollY;
                bool crackedCrawler = false;
                for (Entity* x : Entity::entList)
                    if (auto* c = dynamic_cast<EyeCrawler*>(x)) crackedCrawler |= c->alive && c->HP < c->MaxHP - 5;
                const char* name = nullptr;
                if (form == FinalBoss::kFormFlying && frames > 150 && b->aiPhase == FinalBoss::kPhaseFly && sx > 80 &&
                    sx < 640 - 80 - 192 && sy > 40 && sy < 480 - 40 - 192)
                    name = "final_flying.png";
                else if (form == FinalBoss::kFormSmall && frames > 150 && Count<LaserBeam>() > 0)
                    name = "final_small.png";
                else if (form == FinalBoss::kFormCrawlers && frames > 200 && crackedCrawler)
                    name = "final_crawlers.png";
                if (name) {
                    EXPECT_TRUE(SaveFramePng(ShotsDir() + "/" + name, 640, 480));
                    shot = true;
                }
            }
        }
        if (!ShotsDir().empty()) {
            EXPECT_TRUE(shot) << "no frame made a picture of form " << form;
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
    autoplay::FinalFighter f;
    autoplay::Keys k;
    std::set<int> formsHurt;
    int formHP = b->HP, lastPhase = b->aiPhase;
    long frame = 0;
    for (; frame < 60000 && Building::scenePhase == Building::kSceneNone && b->aiPhase != FinalBoss::kPhaseEnded;
         ++frame) {
        ASSERT_GE(Player::Lives, 0) << "the fighter ran out of lives at frame " << frame << ", boss HP " << b->HP
                                    << ", phase " << b->aiPhase << ", form " << b->aiTargetArea;
        f.Think(&k);
        Press(k);
        Tick(false);
        if (!b->InFormFight() && lastPhase > FinalBoss::kPhaseFormStart) {
            std::printf("form %d: HP %d -> %d, lives %d, frame %ld\n", b->aiTargetArea, formHP, b->HP, Player::Lives,
                        frame);
            if (b->HP < formHP) formsHurt.insert(b->aiTargetArea);
        }
        if (b->aiPhase == FinalBoss::kPhaseFormStart) formHP = b->HP;
        lastPhase = b->aiPhase;
    }
    ASSERT_EQ(b->aiPhase, FinalBoss::kPhaseEnded)
        << "the eye still has " << b->HP << " HP after " << frame << " frames";
    EXPECT_GE(formsHurt.size(), 2u) << "the eye was hurt in its forms, not only at home";
    EXPECT_TRUE(InList(b)) << "the boss is never deleted by its own death";

    // The ending: seven cards in order, then the veil closes and a key quits.
    std::vector<int> phases;
    for (int i = 0; i < 5000 && Building::scenePhase != Building::kSceneVeilCloses; ++i) {
        Tick(false);
        if (phases.empty() || phases.back() != Building::scenePhase) phases.push_back(Building::scenePhase);
        ASSERT_FALSE(platform::QuitRequested()) << "quit in phase " << Building::scenePhase;
    }
    std::vector<int> expected = {Building::kSceneFall, Building::kSceneVeilLifts, Building::kSceneCreditsStart};
    for (int card = Building::kSceneFirstCard; card <= Building::kSceneLastCard; ++card) expected.push_back(card);
    expected.push_back(Building::kSceneCreditsEnd);
    expected.push_back(Building::kSceneVeilCloses);
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
