// The thing list.
#include "ui/framework/thing_list.h"

#include <algorithm>
#include <cstring>

#include "app/globals.h"
#include "base/log.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing.h"

namespace spellcrypt {

bool CThingList::IsDead(const CThing* thing) { return thing->dead; }

CThingList::~CThingList() {
  destroying_ = true;
  // Deleting a thing may unlink others (null entries); walk by index so nothing is skipped.
  for (std::size_t i = 0; i < things_.size(); ++i) {
    CThing* thing = things_[i];
    if (thing == nullptr) continue;
    things_[i] = nullptr;
    --count_;
    if (thing->listOwned) delete thing;
  }
  things_.clear();
}

int CThingList::Add(CThing* thing) {
  if (thing == nullptr) return -1;
  thing->id = nextId_++;
  things_.push_back(thing);
  ++count_;
  return thing->id;
}

CThing* CThingList::FindByName(const char* name) const {
  if (name == nullptr) return nullptr;
  for (CThing* thing : things_) {
    if (thing != nullptr && !thing->dead && std::strcmp(thing->name, name) == 0) return thing;
  }
  return nullptr;
}

CThing* CThingList::FindById(int id) const {
  for (CThing* thing : things_) {
    if (thing != nullptr && !thing->dead && thing->id == id) return thing;
  }
  return nullptr;
}

void CThingList::KillByName(const char* name) {
  if (destroying_) return;
  while (CThing* thing = FindByName(name)) thing->dead = true;
}

bool CThingList::KillById(int id) {
  if (destroying_) return false;
  CThing* thing = FindById(id);
  if (thing == nullptr) return false;
  thing->dead = true;
  return true;
}

bool CThingList::KillByPointer(CThing* thing) {
  if (thing == nullptr || destroying_) return false;
  if (std::find(things_.begin(), things_.end(), thing) == things_.end()) return false;
  thing->dead = true;
  return true;
}

void CThingList::Unlink(CThing* thing) {
  auto it = std::find(things_.begin(), things_.end(), thing);
  if (thing == nullptr || it == things_.end()) {
    LogError("Failed to find thing to delete by pointer");
    return;
  }
  *it = nullptr;
  --count_;
}

void CThingList::UpdateAll() {
  for (std::size_t i = 0; i < things_.size(); ++i) {
    CThing* thing = things_[i];
    if (thing != nullptr && !thing->dead) thing->Update();
  }
}

void CThingList::DrawAll() {
  for (std::size_t i = 0; i < things_.size(); ++i) {
    CThing* thing = things_[i];
    if (thing != nullptr && !thing->dead) thing->Draw();
  }
}

void CThingList::RestoreAll() {
  for (std::size_t i = 0; i < things_.size(); ++i) {
    CThing* thing = things_[i];
    if (thing != nullptr && !thing->dead) thing->RestoreSurfaces();
  }
}

void CThingList::BroadcastInput(int type, const InputEvent* event) {
  if (Screen* top = GetGlobals().InputScreen()) {
    if (top->HandleInput(type, event)) return;
  }
  for (std::size_t i = things_.size(); i-- > 0;) {
    CThing* thing = things_[i];
    if (thing != nullptr && !thing->dead) thing->HandleInput(type, event);
  }
}

void CThingList::BroadcastInput(int type, int senderId, int value) {
  InputEvent event;
  event.senderId = senderId;
  event.value = value;
  BroadcastInput(type, &event);
}

void CThingList::BroadcastMessage(const Message& message) {
  for (std::size_t i = things_.size(); i-- > 0;) {
    CThing* thing = things_[i];
    if (thing != nullptr && !thing->dead) thing->HandleMessage(message);
  }
}

void CThingList::Purge() {
  // Take the dead out first and delete them afterwards: a destructor may unlink other things.
  std::vector<CThing*> doomed;
  for (CThing*& thing : things_) {
    // A dead screen member stays listed (and invisible) until its screen destroys it.
    if (thing != nullptr && thing->dead && thing->listOwned) {
      doomed.push_back(thing);
      thing = nullptr;
      --count_;
    }
  }
  things_.erase(std::remove(things_.begin(), things_.end(), nullptr), things_.end());
  for (CThing* thing : doomed) delete thing;
}

void CThingList::SortByLayer() {
  std::stable_sort(things_.begin(), things_.end(), [](const CThing* a, const CThing* b) {
    const int la = a != nullptr ? a->layer : 0;
    const int lb = b != nullptr ? b->layer : 0;
    return la < lb;
  });
}

}  // namespace spellcrypt
