// A text box: lines of text in a bitmap font, word-wrapped into an area, scrolled by the wheel,
// by an optional slider and by optional up and down buttons.
#pragma once

#include <string>
#include <vector>

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class BitmapFont;
class CSlider;

class CTextBox : public CThingSprite {
 public:
  CTextBox();
  // Kills the slider and the scroll buttons with the box.
  ~CTextBox() override;

  void Draw() override;
  void Update() override;
  void HandleInput(int type, const InputEvent* event) override;

  void SetFont(BitmapFont* textFont);
  // The text area, relative to the box's position.
  void SetArea(int left, int top, int width, int height);
  // Appends one line as it is.
  bool AddLine(const std::string& text);
  // Appends the text word-wrapped into the area's width.
  bool AddText(const std::string& text);
  void Clear();
  void Scroll(int lineCount);
  void ScrollToFraction(float fraction);
  // Creates the scroll slider (once): its knob picture, its offset from the box and track length.
  void AttachSlider(const char* knobPath, int dx, int dy, int trackLength);
  void SetUpButton(int thingId, int dx, int dy);
  void SetDownButton(int thingId, int dx, int dy);
  // Every line followed by "\r\n".
  void GetAllText(std::string& out) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  int ScrollPos() const { return scroll_; }
  int VisibleLines() const { return visibleLines_; }
  // The slider, if it is still alive.
  CSlider* Slider() const;

  bool centred = false;
  int lineSpacing = -10;

 private:
  void RecountVisibleLines();
  int MaxScroll() const;
  // Moves a scroll button to the box position plus its offset.
  static void PlaceButton(int thingId, float px, float py);

  std::vector<std::string> lines_;
  BitmapFont* font_ = nullptr;
  int scroll_ = 0;
  int areaLeft_ = 10;
  int areaTop_ = 10;
  int areaWidth_;
  int areaHeight_;
  int visibleLines_ = 10;
  CSlider* slider_ = nullptr;
  int sliderId_ = -1;
  int sliderDx_ = 0;
  int sliderDy_ = 0;
  int upButtonId_ = -1;
  int downButtonId_ = -1;
  int upDx_ = 0;
  int upDy_ = 0;
  int downDx_ = 0;
  int downDy_ = 0;
};

}  // namespace spellcrypt
