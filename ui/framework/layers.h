// The drawing layers and input levels the screens share. Things draw from the lowest layer up;
// a thing reacts to input only while its level is not below the global input level, so whoever
// opens a popup raises the level and everything built beneath it stops listening.
#pragma once

namespace spellcrypt {

namespace layer {
constexpr int kBoard = -5;  // the tile board itself draws nothing
constexpr int kBackground = 0;
constexpr int kSubmit = 1;
constexpr int kTile = 2;
constexpr int kTitleButton = 3;
constexpr int kTitleText = 4;
constexpr int kGameButton = 10;
constexpr int kMessage = 100;
constexpr int kTitleSpiders = 100;
constexpr int kBigMessage = 200;
constexpr int kTextInput = 200;
constexpr int kPopupPicture = 500;  // full-screen popups: help, options
constexpr int kPopupButton = 502;
constexpr int kQuestion = 700;  // the small yes/no and notice popups
constexpr int kQuestionMember = 702;
constexpr int kTip = 1000;
constexpr int kPointer = 50000;
}  // namespace layer

namespace input_level {
constexpr int kPlaying = 0;
constexpr int kPopup = 100;     // help, pause, quit and continue questions, options
constexpr int kQuestion = 200;  // a question opened from the options page
constexpr int kTip = 1000;      // a quick tip over whatever is open
}  // namespace input_level

}  // namespace spellcrypt
