#include "game/autoplay/Autoplay.h"

#include "engine/GameEngine.h"
#include "game/world/Building.h"
#include "platform/Log.h"

namespace autoplay {

Autoplay::Autoplay(int startLevel) : startLevel_(startLevel), bot_(new GameBot(startLevel)) {}

Autoplay::~Autoplay() {
    if (runoptions::CurrentKeySource() == this) runoptions::SetKeySource(nullptr);
}

void Autoplay::Start() {
    playing_ = true;
    runoptions::SetKeySource(this);
}

void Autoplay::BeforeInput(GameEngine* e) {
    if (!playing_) return;
    if (handBack_) {
        HandBack(e);
        return;
    }
    if (bot_->Stuck()) {
        platform::LogMessage("The automatic player is stuck (" + bot_->Status() + "); the game is yours");
        HandBack(e);
        return;
    }
    // A game lost to the last life ends on the title: the next one starts afresh.
    if (!Building::MainMenuOn) leftTitle_ = true;
    if (Building::MainMenuOn && leftTitle_) {
        bot_.reset(new GameBot(startLevel_));
        leftTitle_ = false;
    }
    bot_->Think(frame_++, &keys_);
    for (int vk : kPlayerKeys)
        if (e->keys[vk] != keys_.down[vk]) runoptions::Press(e, vk, keys_.down[vk]);
}

void Autoplay::PersonPressed(GameEngine*, int vk) {
    if (!playing_) return;
    handBack_ = true;
    personKey_ = vk;
}

void Autoplay::HandBack(GameEngine* e) {
    playing_ = false;
    handBack_ = false;
    for (int vk : kPlayerKeys)
        if (keys_.down[vk] && e->keys[vk] && vk != personKey_) runoptions::Press(e, vk, false);
    keys_.Clear();
    Building::RestartGame();
    // The ending's veil, if it was falling, does not cover the title.
    e->fadePerc = 0;
    runoptions::SetKeySource(nullptr);
}

}  // namespace autoplay
