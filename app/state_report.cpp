// The game's state for a scripted player.
#include "app/state_report.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <typeinfo>
#include <utility>

#include "app/app.h"
#include "app/globals.h"
#include "game/game.h"
#include "game/tile_types.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_sprite.h"
#include "ui/game/tile.h"
#include "ui/game/tile_board.h"
#include "ui/menus/screen_title.h"

namespace spellcrypt {

namespace {

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendField(std::string& out, const char* name, long long value) {
  out += ",\"";
  out += name;
  out += "\":";
  out += std::to_string(value);
}

// The letters of the letter tiles in the rack (the lower row), in slot order, lower case.
std::string Rack() {
  std::string rack;
  auto* board = dynamic_cast<CTileBoard*>(GetGlobals().things->FindByName("board"));
  if (board == nullptr) return rack;
  std::string bySlot(64, '\0');
  for (const auto& [id, tile] : board->Tiles()) {
    if (tile->lowerSlot >= 0 && tile->lowerSlot < 64 && IsLetterTile(tile->type)) {
      bySlot[static_cast<std::size_t>(tile->lowerSlot)] =
          static_cast<char>(std::tolower(static_cast<unsigned char>(tile->letter)));
    }
  }
  for (const char c : bySlot) {
    if (c != '\0') rack += c;
  }
  return rack;
}

}  // namespace

bool TitleOnTop() {
  return GlobalsExist() && dynamic_cast<ScreenTitle*>(GetGlobals().TopScreen()) != nullptr;
}

std::string StateReport() {
  if (!GlobalsExist() || GetGlobals().things == nullptr) return "{\"running\":false}";
  CGlobals& g = GetGlobals();
  // Each name once, with the middle of its picture where it has one (a point to click).
  std::map<std::string, std::pair<int, int>> things;
  g.things->ForEachLive([&](CThing* thing) {
    if (things.count(thing->name) != 0) return;
    std::pair<int, int> middle{-1, -1};
    if (const auto* sprite = dynamic_cast<const CThingSprite*>(thing)) {
      middle = {static_cast<int>(sprite->x) + sprite->Width() / 2,
                static_cast<int>(sprite->y) + sprite->Height() / 2};
    }
    things.emplace(thing->name, middle);
  });
  std::string out = "{\"running\":true,\"things\":{";
  bool first = true;
  for (const auto& [name, middle] : things) {
    if (!first) out += ',';
    first = false;
    AppendQuoted(out, name);
    out += ":[" + std::to_string(middle.first) + "," + std::to_string(middle.second) + "]";
  }
  out += "}";
  AppendField(out, "input", g.inputLevel);
  AppendField(out, "active", g.active ? 1 : 0);
  AppendField(out, "title", TitleOnTop() ? 1 : 0);
  // The screen on top by its class (the compiler's name for it, which holds the class's name).
  out += ",\"screen\":";
  Screen* top = g.TopScreen();
  AppendQuoted(out, top != nullptr ? typeid(*top).name() : "");
  out += ",\"rack\":";
  AppendQuoted(out, Rack());
  if (CAppGlo* app = GetApp(); app != nullptr && app->game != nullptr) {
    const Game& game = *app->game;
    AppendField(out, "life", game.player.record.life);
    AppendField(out, "score", game.player.record.score);
    AppendField(out, "dungeon", game.player.record.dungeon);
    AppendField(out, "monster", game.monster.IsActive() ? game.monster.record.life : -1);
    AppendField(out, "busy", game.busy || game.board.pendingDeal > 0 ? 1 : 0);
  }
  out += '}';
  return out;
}

}  // namespace spellcrypt
