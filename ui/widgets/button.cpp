// Buttons: hover highlight, press, and the delayed click.
#include "ui/widgets/button.h"

#include "app/globals.h"
#include "base/log.h"
#include "base/text_util.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

CThingButton::CThingButton() {
  kind = 1;
  mouseAware = true;
  keyboardSelectable = true;
  SetVisualState(kButtonNormal);
}

void CThingButton::SetNormalImage(const char* path) {
  CopyText(normalImage, sizeof normalImage, path != nullptr ? path : "");
  if (!HasImage()) ShowPicture(kButtonNormal);
  SetVisualState(kButtonNormal);
}

void CThingButton::SetOverImage(const char* path, bool isTransparent) {
  CopyText(overImage, sizeof overImage, path != nullptr ? path : "");
  overTransparent = isTransparent;
  if (!HasImage()) ShowPicture(kButtonHighlighted);
}

void CThingButton::SetPressedImage(const char* path) {
  CopyText(pressedImage, sizeof pressedImage, path != nullptr ? path : "");
  if (!HasImage()) ShowPicture(kButtonPressed);
}

void CThingButton::ShowPicture(int state) {
  const char* const paths[] = {normalImage, overImage, pressedImage};
  const char* path = paths[state];
  std::unique_ptr<CDXTile>& picture = pictures_[state];
  // A different file under the same state (the path was set again) is read afresh.
  if (picture != nullptr && picture->Path() != path) picture.reset();
  if (picture == nullptr) {
    auto loaded = std::make_unique<CDXTile>();
    CDXScreen* display = GlobalsExist() ? GetGlobals().display : nullptr;
    if (loaded->Create(display, path, 0, 0, 1, loadOption) < 1) {
      // As with any sprite whose picture fails: no picture, and the file is tried again next time.
      image.Release();
      LogError("Error loading %s.", path);
      return;
    }
    picture = std::move(loaded);
  }
  const bool keyed =
      (state == kButtonHighlighted && overTransparent) || (state == kButtonNormal && normalTransparent);
  AttachImage(picture.get(), keyed, kMagenta);
  SetFrame(0);
}

void CThingButton::SetVisualState(int state) {
  visualState = state;
  switch (state) {
    case kButtonNormal:
      hidden = normalImage[0] == '\0';
      if (!hidden) ShowPicture(kButtonNormal);
      break;
    case kButtonHighlighted:
      hidden = overImage[0] == '\0';
      break;
    default:
      hidden = false;
      break;
  }
}

void CThingButton::Highlight() {
  SetVisualState(kButtonHighlighted);
  if (overImage[0] != '\0') ShowPicture(kButtonHighlighted);
}

void CThingButton::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  if (!InputAllowed() || clicking) return;
  switch (type) {
    case InputMouseLeave:
      SetVisualState(kButtonNormal);
      break;
    case InputMouseEnter:
      Highlight();
      if (playHighlightSound) PlayHighlightSound();
      break;
    case InputMouseDown:
      if (PointerInside()) Press();
      break;
    default:
      break;
  }
}

void CThingButton::Press() {
  if (clicking) return;
  PlayClickSound();
  SetVisualState(kButtonPressed);
  if (pressedImage[0] != '\0') ShowPicture(kButtonPressed);
  clickTimer.Restart();
  clicking = true;
}

void CThingButton::Update() {
  CGlobals& g = GetGlobals();
  if (level < g.inputLevel && (owner == nullptr || owner == g.InputScreen())) {
    // Under a popup: only drop a highlight the pointer has left. The pointer is then no longer
    // over the button, so a later return onto it highlights it again.
    if (visualState == kButtonHighlighted && !PointerInside()) {
      SetVisualState(kButtonNormal);
      hovering = false;
    }
    return;
  }
  if (clicking && clickTimer.IsReady()) {
    clicking = false;
    if (!noRehighlight) {
      if (PointerInside()) {
        Highlight();
      } else {
        SetVisualState(kButtonNormal);
      }
    }
    // The action happens now, one click delay after the press, while the pressed picture showed.
    g.things->BroadcastInput(InputClicked, id, command);
  }
  CThingSprite::Update();
}

}  // namespace spellcrypt
