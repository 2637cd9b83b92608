// The world's share of a frame: which segment the player is in, populating the segment above,
// marking occupied tiles and the turn of the tower between sides; and its share of the picture:
// background and segments. The game loop calls these in its fixed order.
#pragma once

class GameEngine;

// Builds the levelCount segments and makes segment 0 current with its entities in the list.
void BuildTower();

// The segment index for a player on tile row playerRow (the tower's SegmentOfRow).
int SegmentIndexForPlayerRow(int playerRow);

// Makes the player's segment current and hands the entities of the segment above it to the
// entity list (once per segment). Returns the index, or -1 (nothing done) when the row lies
// outside the built tower.
int ChooseSegment(int playerRow);

// Marks the tiles wall creatures occupy on the segment above idx and on segment idx.
void MarkOccupied(int idx);

// While the view angle is not a multiple of 90 the tower is turning: advances it 3 degrees in
// the turn's direction and returns true (nothing else of the world moves this frame).
bool TurnTower(GameEngine* e);

// Background and the tiles of every segment, or the dark panel while the screen is blacked out.
void DrawWorld(GameEngine* e, int playerSide);
