// Popup layout.
#include "ui/widgets/popup_frame.h"

#include "app/app.h"
#include "ui/framework/layers.h"

namespace spellcrypt {

bool PopupFrame::Build(Screen* screen, const char* backgroundPath) {
  background.LoadImage(backgroundPath, false, kMagenta);
  const CThingSprite::Point corner = background.Centre();
  background.SetPosition(corner.x, corner.y);
  background.layer = layer::kQuestion;
  if (!background.AddToList(nullptr)) return false;

  text.SetPosition(corner.x, corner.y);
  if (CAppGlo* app = GetApp()) text.SetFont(&app->summaryFont);
  text.SetArea(10, 20, background.Width() - 20, background.Height() - 55);
  text.layer = layer::kQuestionMember;
  if (!text.AddToList(screen)) return false;
  SetText(content_.c_str());
  return true;
}

void PopupFrame::SetText(const char* newText) {
  content_ = newText != nullptr ? newText : "";
  text.Clear();
  if (!content_.empty()) text.AddText(content_);
}

bool PopupFrame::AddButton(Screen* screen, CMenuBut& button, const char* normalPath, const char* overPath,
                           int dx, int dy) {
  button.SetNormalImage(normalPath);
  button.SetOverImage(overPath, false);
  button.SetPosition(background.x + static_cast<float>(dx), background.y + static_cast<float>(dy));
  button.layer = layer::kQuestionMember;
  return button.AddToList(screen);
}

}  // namespace spellcrypt
