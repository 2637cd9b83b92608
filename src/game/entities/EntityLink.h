// A pointer from one entity to another that turns null by itself when the other entity is
// deleted (by the entity list, a restart or its owner), so a creature never follows a freed
// buddy, boss or target. Use it for any entity pointer kept from one frame to the next:
//     EntityLink<Climber> buddy;   buddy = someClimber;   if (buddy) buddy->tX ...
#pragma once

#include "game/entities/Entity.h"

class EntityLinkBase {
public:
    // Clears every link that points at e (called by the entity's destructor).
    static void Forget(Entity* e);
    // How many links point at e (tests).
    static int CountLinksTo(Entity* e);

protected:
    EntityLinkBase() = default;
    ~EntityLinkBase() { Set(nullptr); }
    void Set(Entity* e);
    Entity* target_ = nullptr;
};

template <class T>
class EntityLink : public EntityLinkBase {
public:
    EntityLink() = default;
    EntityLink(T* e) { Set(e); }  // NOLINT: a link is made from a plain pointer on purpose
    EntityLink(const EntityLink& o) : EntityLinkBase() { Set(o.target_); }
    EntityLink& operator=(const EntityLink& o) {
        Set(o.target_);
        return *this;
    }
    EntityLink& operator=(T* e) {
        Set(e);
        return *this;
    }
    T* get() const { return static_cast<T*>(target_); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
};
