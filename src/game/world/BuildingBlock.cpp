#include "game/world/BuildingBlock.h"

#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/world/Building.h"

BuildingBlock::BuildingBlock(int stype, int sF, int sL) : frame(sF), layer(sL), type(stype), blocked(0) {
    sprite = new Sprite(0, GameEngine::gEngine, Building::imTiles, 0, 0, 32, 32, 0, 0);
}

BuildingBlock::~BuildingBlock() { delete sprite; }

void BuildingBlock::Draw(float x, float y, int side) {
    sprite->x = x;
    sprite->y = y - Building::scrollY - 32;
    sprite->side = side;
    sprite->CurFrame = frame;
    sprite->CurLayer = layer;
    sprite->Draw();
}
