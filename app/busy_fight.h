// A fight kept as busy as it gets, so that its frames are measured alike wherever they are drawn
// (the native benchmark, the browser edition's measuring page): sixteen tiles gliding, a word in
// the word row, a hit's sparks and number, the monster lunging, the fires, the message. Nobody
// dies: both lives are huge.
#pragma once

namespace spellcrypt {

class BusyFight {
 public:
  // Called once per presented frame: starts a Normal game once a screen is up, then stirs the
  // fight. True on the frames drawn at full bustle (after a warm-up that lets the sparks and
  // glides build up).
  bool Step();

 private:
  bool started_ = false;
  int busyFrames_ = 0;
};

}  // namespace spellcrypt
