#include "game/world/World.h"

#include "engine/GameEngine.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

void BuildTower() {
    Building::BuildAll();
    Building::cur = Building::b[0];
    if (Building::cur) Building::cur->AddAllEntities();
}

int SegmentIndexForPlayerRow(int playerRow) { return tower::SegmentOfRow(playerRow); }

int ChooseSegment(int playerRow) {
    int idx = SegmentIndexForPlayerRow(playerRow);
    // A development start outside the tower has no segment; keep the last one rather than index
    // past the table.
    if (idx < 0 || idx >= levelCount || !Building::b[idx]) return -1;
    Building::cur = Building::b[idx];
    if (idx + 1 < levelCount && Building::b[idx + 1]) Building::b[idx + 1]->AddAllEntities();
    return idx;
}

void MarkOccupied(int idx) {
    if (idx < 0 || idx >= levelCount) return;
    if (idx + 1 < levelCount && Building::b[idx + 1]) Building::b[idx + 1]->FindBlockedLocations();
    if (Building::b[idx]) Building::b[idx]->FindBlockedLocations();
}

bool TurnTower(GameEngine* e) {
    int r = static_cast<int>(e->rotx);
    if (r % 90 == 0) return false;
    e->rotx += static_cast<float>(e->rotxdir) * 3.0f;
    return true;
}

void DrawWorld(GameEngine* e, int playerSide) {
    if (!Building::fbBlack && Building::scenePhase == 0) {
        Building::DrawBackground();
    } else {
        e->SetColor(12 / 255.0f, 31 / 255.0f, 12 / 255.0f, 1);
        e->DrawBox(playerSide, 0, -100, 640, 680, 0);
        e->ResetColor();
    }
    if (!Building::fbBlack) {
        for (int i = 0; i < levelCount; ++i) {
            if (Building::b[i]) Building::b[i]->Draw();
        }
    }
}
