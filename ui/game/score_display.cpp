// Score display and label.
#include "ui/game/score_display.h"

#include "app/app.h"
#include "app/globals.h"
#include "base/text_util.h"
#include "gfx/dx_screen.h"
#include "ui/game/game_link.h"

namespace spellcrypt {

namespace {
// Both are drawn centred in a box this wide around their x.
constexpr int kBoxWidth = 300;

void DrawCentred(BitmapFont& font, float x, float y, const char* text) {
  CDXScreen* display = GetGlobals().display;
  if (display == nullptr) return;
  font.DrawInBox(static_cast<int>(x) - kBoxWidth / 2, static_cast<int>(y), kBoxWidth, text,
                 display->GetBack(), 1);
}
}  // namespace

CScore::CScore() { SetName("score"); }

void CScore::Draw() {
  CThingSprite::Draw();
  long long score = 0;
  CAppGlo* app = GetApp();
  if (app == nullptr || !PlayerTotalScore(score)) return;
  DrawCentred(app->bigFont, x, y, FormatThousands(static_cast<double>(score), 0).c_str());
}

CText::CText() { SetName("text"); }

void CText::SetText(const char* newText) { CopyText(text, sizeof text, newText != nullptr ? newText : ""); }

void CText::Draw() {
  CThingSprite::Draw();
  if (font != nullptr) {
    DrawCentred(*font, x, y, text);
  } else if (CAppGlo* app = GetApp()) {
    DrawCentred(app->smallFont, x, y, text);
  }
}

}  // namespace spellcrypt
