// Looking things up in the entity list from a test.
#pragma once

#include <vector>

#include "game/entities/Entity.h"

// Every entity of class T in the list, in list order.
template <class T>
std::vector<T*> AllOf() {
    std::vector<T*> out;
    for (Entity* e : Entity::entList)
        if (T* t = dynamic_cast<T*>(e)) out.push_back(t);
    return out;
}

// Counts the entities of a class that are new since the last call: each is marked as seen through
// its colour variant (unused by the classes this serves), so a freed one whose memory is reused by
// the next is still counted.
template <class T>
int CountNew() {
    int n = 0;
    for (T* t : AllOf<T>()) {
        if (t->color == 0) {
            t->color = 77;
            ++n;
        }
    }
    return n;
}

inline bool InList(const Entity* e) {
    for (const Entity* x : Entity::entList)
        if (x == e) return true;
    return false;
}
