// The one ordered list of live things: it owns what is added to it, sorts it by layer every frame
// and broadcasts input and messages over it.
#pragma once

#include <cstddef>
#include <vector>

#include "ui/framework/message.h"

namespace spellcrypt {

class CThing;

class CThingList {
 public:
  CThingList() = default;
  ~CThingList();
  CThingList(const CThingList&) = delete;
  CThingList& operator=(const CThingList&) = delete;

  int Add(CThing* thing);
  CThing* FindByName(const char* name) const;
  CThing* FindById(int id) const;
  void KillByName(const char* name);
  bool KillById(int id);
  bool KillByPointer(CThing* thing);
  // Forgets a screen member without deleting it.
  void Unlink(CThing* thing);

  void UpdateAll();
  void DrawAll();
  void RestoreAll();
  // Offers the event to the top screen, then to every live thing from the highest layer down.
  void BroadcastInput(int type, const InputEvent* event);
  void BroadcastInput(int type, int senderId, int value);
  void BroadcastMessage(const Message& message);
  // Deletes dead list-owned things.
  void Purge();
  // Stable: things of one layer keep their insertion order.
  void SortByLayer();

  // Live things in list order (for walks such as keyboard focus).
  template <typename F>
  void ForEachLive(F&& f) const {
    for (std::size_t i = 0; i < things_.size(); ++i) {
      CThing* t = things_[i];
      if (t != nullptr && !IsDead(t)) f(t);
    }
  }
  int Count() const { return count_; }
  bool Destroying() const { return destroying_; }

 private:
  static bool IsDead(const CThing* thing);
  int nextId_ = 0;
  // Unlinked entries become null and are dropped by the next purge, so walks in progress stay valid.
  std::vector<CThing*> things_;
  int count_ = 0;
  bool destroying_ = false;
};

}  // namespace spellcrypt
