// Base of every object that lives on the wall: position, velocity, collision box, hit points, a
// sprite, and the shared behaviour of taking damage, dying and falling off the screen. Every live
// entity is owned by the one list Entity::entList (the player is always its first element).
#pragma once

#include <vector>

#include "engine/Sprite.h"
#include "platform/win32.h"

class Building;
class GImage;
class GSound;

class Entity {
public:
    AnimationData aFire;  // slot for subclasses; the base leaves it unset
    AnimationData aDead;
    Sprite* sprite;      // owned
    float x, y;          // world pixels on its side (64 a tile; y grows downward, negative up the tower)
    float velX, velY;    // pixels per frame
    int side;            // the tower side it is on, 1..4
    int cx, cy, cw, ch;  // collision box: offset from (x, y) and size
    int offX, offY;      // drawing offset of the sprite from (x, y)
    int HP, MaxHP;
    float AIdist;      // it thinks only while its centre is this near the player's, vertically
    int invinceTimer;  // frames left of blinking untouchability (the player after reviving)
    int invinceTimerMax;
    int color;  // a free slot for subclasses (a blood drop's shade)
    AnimationData aIdle;
    BOOL idleing;       // standing still (a climber: not in the middle of a step)
    BOOL applyGravity;  // falls, 0.25 pixels per frame faster each frame
    BOOL dead;          // dying: it falls off the screen (or plays its own end) and then leaves the list
    BOOL hurtPlayer;    // touching it kills the player
    BOOL isBoss;        // an explosion hurts it only one time in three
    BOOL canHit;        // shots hurt it
    BOOL canFlameHit;   // the flame thrower hurts it
    int bloodRate;      // blood drops per hit
    BOOL wallDraw;      // drawn under the player, as part of the wall (and blocks the tiles it covers)
    bool alive;         // false: removed from the list at the end of this frame's update

    // Shared sheets, loaded once by Init.
    static GImage* enemy_sheet_1;
    static GImage* boss_sheet_1;
    static GImage* block_sheet_1;
    static GImage* final_boss_sheet;
    // Shared sounds, loaded once by Init in this order.
    static GSound* wavDie0;
    static GSound* wavDie1;
    static GSound* wavDie2;
    static GSound* wavDie3;
    static GSound* wavBlockBreak;
    static GSound* wavBlockHit;
    static GSound* wavRescue;
    static GSound* wavFlamer;
    static GSound* wavCrawl;
    static GSound* wavBouncerFlip;
    static GSound* wavExplosion;
    static GSound* wavFireShot;
    static GSound* wavCrabShoot;
    static GSound* wavSquidShoot;
    static GSound* wavSquidSplat;
    static GSound* wavSquidArm;
    static GSound* wavSquidArmDie;
    static GSound* wavBarferDie;
    static GSound* wavGenDie;
    static GSound* wavAllGenDie;
    static GSound* wavEBTeleport;
    static GSound* wavEBLasers;
    static GSound* wavEBGoo;
    static GSound* wavEBMegaBlast;
    static GSound* wavEBHit;

    // The live entities in update order; owns what it holds. The player is element 0.
    // Never destroyed: entities live until the game ends, and leak checkers then still see them.
    static std::vector<Entity*>& entList;

    // How the base reaches the player without knowing the player's class. The player's class
    // installs these in its Init; until then the player is element 0 of entList and a touch
    // calls its Die.
    static Entity* (*playerGetter)();
    static void (*playerOnHit)(Entity* player);
    static Entity* ThePlayer();

    Entity();
    virtual ~Entity();
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    // Virtual operations, in this slot order.
    virtual void Update();
    virtual void Draw();
    virtual void Idle();
    virtual void Die();
    virtual void AI();
    virtual void OffScreen();
    virtual int GetTileX();
    virtual int GetTileY();
    virtual void Hit(int locX, int locY);
    // The class name as the code spells it (state dump).
    virtual const char* ClassName() const { return "Entity"; }
    // Thinks every frame wherever it is and however far from the player (the final boss).
    virtual bool ThinksEverywhere() const { return false; }
    // Stays visible while the screen is blacked out (the final boss).
    virtual bool ShownWhenBlackedOut() const { return false; }

    float GetCenterX();
    float GetCenterY();
    BOOL boxCollide(float sx, float sy, float sw, float sh);
    BOOL hitEntity(Entity* ent);
    float distToEntity(Entity* ent);
    float angleToEntity(Entity* ent, int soffX = 0, int soffY = 0);
    Building* GetBuilding();

    static void Init();
    static Entity* Create(char* cName, int w, int h, int side, int cX, int cY);
    static Entity* Create(const char* cName, int w, int h, int side, int cX, int cY);

    // One pass of the list: updates element i while i is below the current size (entities
    // appended during the pass are updated in the same frame); an entity whose alive flag is
    // false after its update is erased, deleted, and the same index is used again.
    static void UpdateAll();
    // Drawing order: entities with wallDraw first in list order, then the player, then the rest.
    // While the screen is blacked out the player and every entity not ShownWhenBlackedOut leave no
    // pixels, yet each is still drawn with pixels off: what the game does (sprites stepping,
    // animation-timed actions, the player's blinking immunity) never depends on what is shown.
    static void DrawAll(bool blackedOut = false);
    // The entities DrawAll shows, in its order.
    static std::vector<Entity*> DrawOrder(bool blackedOut = false);
    // Deletes every entity in the list except element 0 and empties the list (restart: the old
    // player at element 0 has already been deleted by its owner).
    static void ClearListAfterPlayer();
    // Deletes every entity in the list and empties it (tests and shutdown).
    static void DeleteAll();
};
