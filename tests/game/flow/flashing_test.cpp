// The "reduce flashing" setting: a screen flickering between black and the scene becomes a steady
// dim veil, while the black flag (what the game itself sees) flips exactly as before.
#include <algorithm>

#include "game/flow/MainFile.h"
#include "game/player/PlayFixture.h"
#include "platform/Settings.h"

namespace {
// Mean brightness of the middle of the screen, above the HUD.
double Brightness() {
    auto f = testsupport::ReadFrame();
    double sum = 0;
    int n = 0;
    for (int y = 100; y < 340; y += 4)
        for (int x = 100; x < 540; x += 4) {
            unsigned c = testsupport::PixelAt(f, x, y);
            sum += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
            ++n;
        }
    return sum / n;
}
}  // namespace

using FlashingTest = PlayTest;

TEST_F(FlashingTest, AFlickerBecomesASteadyVeilAndTheGameSeesTheSameFlag) {
    platform::Settings saved = platform::CurrentSettings();
    for (bool reduce : {false, true}) {
        platform::CurrentSettings().reduceFlashing = reduce;
        Building::fbBlack = 0;
        std::vector<double> light;
        std::vector<int> flags;
        for (int i = 0; i < 12; ++i) {
            // The final boss's flicker: a toggle on every frame whose timer is not a multiple of 10.
            if (i != 5) Building::GoBlackToggle();
            flags.push_back(Building::fbBlack);
            gEngine.FlushQuads();  // what was drawn before goes before the clear
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            e->SetScreenProjection();
            GameDraw(e);
            light.push_back(Brightness());
            ++e->frameCount;
        }
        // The flag flips just the same with the setting on or off.
        EXPECT_EQ(flags, (std::vector<int>{1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1})) << reduce;
        double lo = *std::min_element(light.begin(), light.end());
        double hi = *std::max_element(light.begin(), light.end());
        if (reduce) {
            EXPECT_LT(hi - lo, 3.0) << "the veil must hold steady";
        } else {
            EXPECT_GT(hi - lo, 60.0) << "without the setting the screen alternates";
        }
    }
    // Once the flicker is over the scene is drawn plainly again.
    platform::CurrentSettings().reduceFlashing = true;
    Building::fbBlack = 0;
    e->frameCount += 10;
    gEngine.FlushQuads();  // what was drawn before goes before the clear
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GameDraw(e);
    double plain = Brightness();
    Building::GoBlackToggle();
    Building::GoBlackToggle();
    gEngine.FlushQuads();  // what was drawn before goes before the clear
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GameDraw(e);
    EXPECT_LT(Brightness(), plain - 60) << "the veil dims the scene";
    platform::CurrentSettings() = saved;
    Building::fbBlack = 0;
}
