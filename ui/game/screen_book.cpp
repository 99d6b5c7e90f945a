// The book of upgrades.
#include "ui/game/screen_book.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/dungeon.h"
#include "game/game.h"
#include "ui/framework/layers.h"
#include "ui/framework/screen.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/game/player_view.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/thing_message.h"

namespace spellcrypt {

namespace {

constexpr int kBookLevel = 500;
constexpr int kBookLayer = 500;
constexpr int kPageLayer = 501;
constexpr int kOverlayLayer = 502;
constexpr float kMessageFadeRate = 0.06f;
constexpr float kPageFadeRate = 0.07f;
constexpr std::uint32_t kDoneAfterMs = 1000;
constexpr std::uint32_t kNextEncounterMs = 2200;
constexpr std::uint32_t kSmallBookLifeMs = 700;

class ScreenBook : public Screen {
 public:
  bool Start() override;
  void HandleMessage(const Message& message) override;
  bool HandleInput(int type, const InputEvent* event) override;

  int pages[2] = {0, 1};

 private:
  void Choose(int side);
  void CloseBook();

  CThingSprite book_;
  CThingSprite message_;
  CThingSprite page_[2];
  CMenuBut overlay_[2];
  int chosen_ = -1;  // side 0 (left) or 1 (right)
  bool closing_ = false;
};

bool ScreenBook::Start() {
  Screen::Start();
  book_.SetName("book");
  page_[0].SetName("page_left");
  page_[1].SetName("page_right");
  if (!book_.LoadImage("graphics/book/book_big.bmp", true, kMagenta)) return false;
  const CThingSprite::Point centre = book_.Centre();
  book_.SetPosition(centre.x, centre.y);
  book_.layer = kBookLayer;
  if (!book_.AddToList(nullptr)) return false;
  message_.LoadImage("graphics/book/found_book_message.bmp", true, kMagenta);
  message_.SetPosition(0, GetGlobals().height - 98);
  message_.layer = kBookLayer;
  message_.translucency = 255.0f;
  message_.FadeTo(0.0f, kMessageFadeRate);
  if (!message_.AddToList(nullptr)) return false;
  ShowMessage("");

  const int bookX = centre.x;
  const int bookY = centre.y - 30;
  const int pageX[2] = {43, 265};
  const int overlayX[2] = {21, 238};
  for (int side = 0; side < 2; ++side) {
    page_[side].LoadImage(BookPageImage(pages[side]).c_str(), false, kMagenta);
    page_[side].SetPosition(bookX + pageX[side], bookY + 47);
    page_[side].layer = kPageLayer;
    if (!page_[side].AddToList(nullptr)) return false;
    overlay_[side].normalTransparent = true;
    overlay_[side].SetNormalImage("graphics/book/page_select_overlay.bmp");
    overlay_[side].SetOverImage("graphics/book/page_select_overlay.bmp", true);
    overlay_[side].SetPosition(bookX + overlayX[side], bookY + 11);
    overlay_[side].layer = kOverlayLayer;
    overlay_[side].keyboardSelectable = false;
    if (!overlay_[side].AddToList(this)) return false;
  }
  return true;
}

void ScreenBook::Choose(int side) {
  if (chosen_ >= 0) return;
  chosen_ = side;
  PlayEffect("sound\\echo.ogg");
  const int other = 1 - side;
  page_[other].FadeTo(255.0f, kPageFadeRate);
  overlay_[other].hidden = true;
  overlay_[other].level = -1;  // no longer reacts
  GetGlobals().PostMessage(MsgBookDone, kDoneAfterMs, this, 0);
}

void ScreenBook::CloseBook() {
  if (closing_) return;
  closing_ = true;
  CGlobals& g = GetGlobals();
  g.inputLevel = input_level::kPlaying;
  Close();
  if (CAppGlo* app = GetApp(); app != nullptr && app->player != nullptr) {
    g.PostMessage(MsgPlayerEvent, kNextEncounterMs, app->player, 0);
  }
  auto* small = new CThingSprite();
  small->LoadImage("graphics/book/book_small.bmp", true, kMagenta);
  small->SetPosition(book_.Centre().x + book_.Width() / 2 - small->Width() / 2,
                     book_.Centre().y + book_.Height() / 2 - small->Height() / 2);
  small->layer = kBookLayer;
  small->FadeTo(255.0f, kPageFadeRate);
  small->SetLife(kSmallBookLifeMs);
  g.things->Add(small);
  if (chosen_ >= 0) {
    if (Game* game = TheGame()) game->ApplyPage(pages[chosen_]);
  }
}

void ScreenBook::HandleMessage(const Message& message) {
  if (message.type == MsgBookDone) CloseBook();
  Screen::HandleMessage(message);
}

bool ScreenBook::HandleInput(int type, const InputEvent* event) {
  if (event == nullptr) return false;
  if (type == InputChar && event->key == vk::Escape && chosen_ < 0) {
    CloseBook();
    return true;
  }
  if (type == InputClicked) {
    for (int side = 0; side < 2; ++side) {
      if (event->senderId == overlay_[side].id) Choose(side);
    }
  }
  return false;
}

}  // namespace

bool OpenBookScreen() {
  GetGlobals().inputLevel = kBookLevel;
  auto* book = new (std::nothrow) ScreenBook();
  if (book == nullptr) return false;
  ChooseBookPages(GetGlobals().simpleRandom, book->pages[0], book->pages[1]);
  return book->StartOrClose();
}

}  // namespace spellcrypt
