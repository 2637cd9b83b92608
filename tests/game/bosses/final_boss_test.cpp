// The final boss on its home wall and between walls: the excursion cycle, the hit-point floor and
// the death that starts the ending.
#include "FinalFixture.h"

namespace {

int FormSide(int form) { return form == 0 ? 2 : (form == 1 ? 4 : 1); }

TEST_F(FinalTest, ExcursionsCycleThroughTheFormsAndComeHomeEachTime) {
    FinalBoss* b = Spawn();
    Tick();
    EXPECT_EQ(b->aiPhase, FinalBoss::kPhaseHome) << "the camera is already in the arena";
    EXPECT_EQ(RunToPhase(b, FinalBoss::kPhaseFlickerOut), 101) << "exposed for 100 frames the first time";

    int last = -1;
    for (int trip = 0; trip < 5; ++trip) {
        SCOPED_TRACE(trip);
        ASSERT_EQ(b->aiPhase, FinalBoss::kPhaseFlickerOut);
        const int form = b->aiTargetArea;
        EXPECT_NE(form, last) << "never the same form twice in a row";
        EXPECT_GE(form, 0);
        EXPECT_LE(form, 2);
        last = form;

        // Flicker out: the eye toggles its form an even number of times and ends at home.
        int flips = 0;
        BOOL was = b->EyeFlyTransformed;
        while (b->aiPhase == FinalBoss::kPhaseFlickerOut) {
            Tick();
            if (b->EyeFlyTransformed != was) ++flips;
            was = b->EyeFlyTransformed;
        }
        EXPECT_EQ(flips, 90);
        EXPECT_FALSE(b->EyeFlyTransformed);
        EXPECT_EQ(b->x, FinalBoss::kHomeX);

        // Arrival: the eye in its form and the player on the form's wall.
        RunToPhase(b, FinalBoss::kPhaseArrivalPause);
        EXPECT_TRUE(b->EyeFlyTransformed);
        EXPECT_EQ(b->side, FormSide(form));
        EXPECT_EQ(p->side, FormSide(form));
        EXPECT_FALSE(Building::fbBlack);

        // With no damage the fight ends by its time limit.
        RunToPhase(b, FinalBoss::kPhaseFormStart);
        const int fight = RunToPhase(b, FinalBoss::kPhaseFormEnd, 3000);
        EXPECT_EQ(fight, FinalBoss::kFormFrames);

        // Flicker back: an odd number of toggles brings the eye home; everything else is gone.
        flips = 0;
        was = b->EyeFlyTransformed;
        while (b->aiPhase == FinalBoss::kPhaseFormEnd || b->aiPhase == FinalBoss::kPhaseFlickerBack) {
            Tick();
            if (b->EyeFlyTransformed != was) ++flips;
            was = b->EyeFlyTransformed;
        }
        EXPECT_EQ(flips, 101);
        EXPECT_FALSE(b->EyeFlyTransformed);
        EXPECT_EQ(b->x, FinalBoss::kHomeX);
        EXPECT_EQ(b->y, FinalBoss::kHomeY);
        EXPECT_EQ(Entity::entList.size(), 2u) << "only the player and the eye remain";
        EXPECT_EQ(RunToPhase(b, FinalBoss::kPhaseHomeAgain), 101) << "the player is held on the home wall";
        EXPECT_EQ(p->side, 3);
        EXPECT_EQ(RunToPhase(b, FinalBoss::kPhaseFlickerOut), 51) << "then 50 frames exposed";
    }
}

}  // namespace
