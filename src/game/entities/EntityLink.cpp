#include "game/entities/EntityLink.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {
// For each entity that something links to, the links that point at it.
std::unordered_map<Entity*, std::vector<EntityLinkBase*>>& Registry() {
    // Never freed, so links in static storage may still unregister at exit.
    static auto* r = new std::unordered_map<Entity*, std::vector<EntityLinkBase*>>;
    return *r;
}
}  // namespace

void EntityLinkBase::Set(Entity* e) {
    if (e == target_) return;
    auto& reg = Registry();
    if (target_) {
        auto it = reg.find(target_);
        if (it != reg.end()) {
            auto& v = it->second;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
            if (v.empty()) reg.erase(it);
        }
    }
    target_ = e;
    if (e) reg[e].push_back(this);
}

void EntityLinkBase::Forget(Entity* e) {
    auto& reg = Registry();
    auto it = reg.find(e);
    if (it == reg.end()) return;
    std::vector<EntityLinkBase*> links;
    links.swap(it->second);
    reg.erase(it);
    for (EntityLinkBase* l : links) l->target_ = nullptr;
}

int EntityLinkBase::CountLinksTo(Entity* e) {
    auto& reg = Registry();
    auto it = reg.find(e);
    return it == reg.end() ? 0 : static_cast<int>(it->second.size());
}
