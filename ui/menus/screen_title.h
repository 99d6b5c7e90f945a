// The title page: the main menu over the title picture, the fading logo, crawling spiders, the
// version line and, for an unusual word list, its path.
#pragma once

#include <memory>

#include "ui/framework/screen.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/spider_spawn.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

class ScreenTitle : public Screen {
 public:
  ScreenTitle();

  bool Start() override;
  // MsgCloseTitle closes it when a game starts.
  void HandleMessage(const Message& message) override;
  // The buttons do the work.
  bool HandleInput(int type, const InputEvent* event) override;

 private:
  CThingSprite background_;
  CMenuBut play_;
  CMenuBut options_;
  CMenuBut instructions_;
  CMenuBut hallOfFame_;
  CMenuBut visit_;
  CMenuBut quit_;
  CMenuBut logo_;
  CSpiderSpawn spiders_;
  CTextBox version_;
  std::unique_ptr<CTextBox> wordList_;  // only for a word list other than the usual one
};

// Opens the title page at input level 0.
bool GoToTitle();

}  // namespace spellcrypt
