// The files the game names in more than one place, written once and in one form (backslashes, as
// the game has always named them; every path goes through the resolver on the way to the disk).
#pragma once

namespace spellcrypt::asset {

constexpr const char* kWordList = "data\\master_word_list.txt";
constexpr const char* kTitleMusic = "sound\\title_music.ogg";
constexpr const char* kTitlePicture = "graphics\\title_screen.jpg";
constexpr const char* kTileSheet = "graphics\\tiles_new.jpg";
constexpr const char* kFireball = "graphics\\fireball.bmp";
constexpr const char* kMenuSpiders = "graphics\\menu_spiders.bmp";
constexpr const char* kClickSound = "sound\\click.wav";
constexpr const char* kTeleportSound = "sound\\teleport.ogg";

}  // namespace spellcrypt::asset
