#include "game/data/trophy_list.h"

#include <pugixml.hpp>

#include "engine/core/event_dispatcher.h"

JCTrophyList::~JCTrophyList() { Clear(); }

bool JCTrophyList::LoadTrophiesFrom(const pugi::xml_node& document) {
    const pugi::xml_node list = document.child("trophies");
    if (!list) return false;
    for (pugi::xml_node element = list.first_child(); element; element = element.next_sibling()) {
        if (element.type() == pugi::node_element) trophies.push_back(new QRV::G_TROPHY(element));
    }
    return true;
}

QRV::G_TROPHY* JCTrophyList::FindTrophy(const std::string& name) const {
    for (QRV::G_TROPHY* trophy : trophies) {
        if (trophy->name == name) return trophy;
    }
    return nullptr;
}

bool JCTrophyList::CheckTrophy(const std::string& name, const QRV::JS_TROPHY_PROBE& probe) {
    QRV::G_TROPHY* trophy = FindTrophy(name);
    if (trophy == nullptr || trophy->awarded || !trophy->IsMet(probe)) return false;
    trophy->awarded = true;
    if (dispatcher != nullptr) dispatcher->Send<QRV::G_TROPHY*>(kTrophyAwardedEvent, trophy);
    return true;
}

bool JCTrophyList::TestTrophy(const std::string& name, const JCPropertyMap& values) const {
    const QRV::G_TROPHY* trophy = FindTrophy(name);
    return trophy != nullptr && trophy->IsMet(values);
}

void JCTrophyList::ClearAwarded() {
    for (QRV::G_TROPHY* trophy : trophies) trophy->awarded = false;
}

void JCTrophyList::Clear() {
    for (QRV::G_TROPHY* trophy : trophies) delete trophy;
    trophies.clear();
    trophies.shrink_to_fit();
}
