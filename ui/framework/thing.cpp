// Things: construction captures the input level; destruction cancels pending messages.
#include "ui/framework/thing.h"

#include "app/globals.h"
#include "base/text_util.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

CThing::CThing() : level(GlobalsExist() ? GetGlobals().inputLevel : 0) {}

CThing::~CThing() {
  if (!GlobalsExist()) return;
  CGlobals& g = GetGlobals();
  g.CancelMessagesFor(this);
  if (!listOwned && g.things != nullptr) g.things->Unlink(this);
}

bool CThing::AddToList(Screen* ownerScreen) {
  owner = ownerScreen;
  listOwned = false;
  if (!GlobalsExist() || GetGlobals().things == nullptr) return false;
  GetGlobals().things->Add(this);
  return true;
}

void CThing::SetName(const char* newName) { CopyText(name, sizeof name, newName != nullptr ? newName : ""); }

bool CThing::InputAllowed() const {
  const CGlobals& g = GetGlobals();
  if (level < g.inputLevel) return false;
  return owner == nullptr || owner == g.InputScreen();
}

}  // namespace spellcrypt
