// Text boxes.
#include "ui/widgets/text_box.h"

#include <algorithm>
#include <new>

#include "app/globals.h"
#include "gfx/bitmap_font.h"
#include "gfx/dx_screen.h"
#include "ui/framework/text_wrap.h"
#include "ui/framework/thing_list.h"
#include "ui/widgets/slider.h"

namespace spellcrypt {

CTextBox::CTextBox()
    : areaWidth_(GlobalsExist() ? GetGlobals().width : 640),
      areaHeight_(GlobalsExist() ? GetGlobals().height : 480) {
  SetName("textbox");
}

CTextBox::~CTextBox() {
  if (!GlobalsExist() || GetGlobals().things == nullptr) return;
  CThingList& things = *GetGlobals().things;
  if (CSlider* slider = Slider()) things.KillByPointer(slider);
  if (upButtonId_ >= 0) things.KillById(upButtonId_);
  if (downButtonId_ >= 0) things.KillById(downButtonId_);
}

CSlider* CTextBox::Slider() const {
  if (slider_ == nullptr || !GlobalsExist() || GetGlobals().things == nullptr) return nullptr;
  // The slider is list-owned: make sure it has not been removed behind the box's back.
  return GetGlobals().things->FindById(sliderId_) == slider_ ? slider_ : nullptr;
}

void CTextBox::RecountVisibleLines() {
  if (font_ == nullptr) return;
  const int lineHeight = font_->GlyphHeight('A') + lineSpacing;
  if (lineHeight > 0) visibleLines_ = areaHeight_ / lineHeight;
}

void CTextBox::SetFont(BitmapFont* textFont) {
  font_ = textFont;
  RecountVisibleLines();
}

void CTextBox::SetArea(int left, int top, int width, int height) {
  areaLeft_ = left;
  areaTop_ = top;
  areaWidth_ = width;
  areaHeight_ = height;
  RecountVisibleLines();
}

bool CTextBox::AddLine(const std::string& text) {
  try {
    lines_.push_back(text);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool CTextBox::AddText(const std::string& text) {
  try {
    const std::vector<std::string> wrapped = WrapText(text, areaWidth_, [this](std::string_view part) {
      if (font_ == nullptr) return -1;
      return font_->TextWidth(std::string(part).c_str());
    });
    lines_.insert(lines_.end(), wrapped.begin(), wrapped.end());
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void CTextBox::Clear() {
  scroll_ = 0;
  lines_.clear();
}

int CTextBox::MaxScroll() const { return std::max(0, static_cast<int>(lines_.size()) - visibleLines_); }

void CTextBox::Scroll(int lineCount) {
  scroll_ = std::clamp(scroll_ + lineCount, 0, MaxScroll());
  if (CSlider* slider = Slider()) {
    const int range = MaxScroll();
    slider->SetValue(range > 0 ? static_cast<float>(scroll_) / static_cast<float>(range) : 0.0f);
    // The box put the knob there itself; reading the rounded knob position back would drag the
    // text a line short of where it was scrolled.
    slider->moved = false;
  }
}

void CTextBox::ScrollToFraction(float fraction) {
  if (fraction == 0.0f) {
    scroll_ = 0;
    return;
  }
  scroll_ = std::clamp(static_cast<int>(fraction * static_cast<float>(MaxScroll())), 0, MaxScroll());
}

void CTextBox::AttachSlider(const char* knobPath, int dx, int dy, int trackLength) {
  if (Slider() != nullptr) return;
  auto* slider = new (std::nothrow) CSlider();
  if (slider == nullptr) return;
  slider->layer = layer + 1;
  slider->LoadImage(knobPath, true, kMagenta);
  slider->trackLength = trackLength;
  slider->trackX = static_cast<int>(x) + dx;
  slider->trackTop = static_cast<int>(y) + dy;
  sliderDx_ = dx;
  sliderDy_ = dy;
  slider_ = slider;
  sliderId_ = GetGlobals().things->Add(slider);
  slider->SetValue(0.0f);
}

void CTextBox::PlaceButton(int thingId, float px, float py) {
  if (auto* button = dynamic_cast<CThingSprite*>(GetGlobals().things->FindById(thingId))) {
    button->SetPosition(px, py);
  }
}

void CTextBox::SetUpButton(int thingId, int dx, int dy) {
  upButtonId_ = thingId;
  upDx_ = dx;
  upDy_ = dy;
  PlaceButton(thingId, x + static_cast<float>(dx), y + static_cast<float>(dy));
}

void CTextBox::SetDownButton(int thingId, int dx, int dy) {
  downButtonId_ = thingId;
  downDx_ = dx;
  downDy_ = dy;
  PlaceButton(thingId, x + static_cast<float>(dx), y + static_cast<float>(dy));
}

void CTextBox::GetAllText(std::string& out) const {
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
}

void CTextBox::Draw() {
  CThingSprite::Draw();
  CDXScreen* display = GetGlobals().display;
  if (hidden || font_ == nullptr || display == nullptr) return;
  const int left = static_cast<int>(x) + areaLeft_;
  const int top = static_cast<int>(y) + areaTop_;
  const DXRect clip{left, top, left + areaWidth_, top + areaHeight_};
  const int lineHeight = font_->GlyphHeight('A') + lineSpacing;
  const int end = std::min(static_cast<int>(lines_.size()), scroll_ + visibleLines_);
  for (int i = scroll_; i < end; ++i) {
    const std::string& line = lines_[static_cast<std::size_t>(i)];
    const int indent = centred ? (areaWidth_ - font_->TextWidth(line.c_str())) / 2 : 0;
    font_->DrawClipped(left + indent, top + (i - scroll_) * lineHeight, line.c_str(), display->GetBack(),
                       clip);
  }
}

void CTextBox::Update() {
  CThingSprite::Update();
  CSlider* slider = Slider();
  if (slider != nullptr && slider->moved) {
    slider->moved = false;
    ScrollToFraction(slider->Value());
  }
}

void CTextBox::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  // No input gating here: a text box under a popup still scrolls.
  if (event == nullptr) return;
  if (type == InputWheel) {
    Scroll(event->value);
  } else if (type == InputClicked) {
    if (downButtonId_ >= 0 && event->senderId == downButtonId_) Scroll(visibleLines_);
    if (upButtonId_ >= 0 && event->senderId == upButtonId_) Scroll(-visibleLines_);
  }
}

}  // namespace spellcrypt
