// A slider: a knob dragged along a vertical track; its value is the knob's place on the track.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CSlider : public CThingSprite {
 public:
  CSlider();

  void Update() override;
  void HandleInput(int type, const InputEvent* event) override;

  // 0 at the top of the track, 1 at its end.
  float Value() const;
  // Ends any drag and puts the knob at that fraction of the track.
  void SetValue(float fraction);
  // Whether the point lies on the track, knob size included.
  bool TrackHit(int px, int py);

  int trackLength = 0;
  int trackX = 0;
  int trackTop = 0;
  int dragStartY = 0;
  int dragMouseY = 0;
  bool moved = false;  // the knob moved since the owner last looked
  int lastX = -1;
  int lastY = -1;

 private:
  void NoteMove();
};

}  // namespace spellcrypt
