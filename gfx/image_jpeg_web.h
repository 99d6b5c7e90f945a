// JPEG pictures in the browser edition, decoded by the browser itself: its decoder gives the same
// pixels as the desktop's libjpeg-turbo, but only asynchronously. So every picture in the game's
// data is decoded before the game starts, and the game's decoder takes the pixels from there.
// Built only by the web edition (Emscripten).
#pragma once

namespace spellcrypt {

// Decodes every .jpg file under `folder` (in the page's file system), then calls `then`. A picture
// the browser cannot decode is left out (the game's decoder then refuses it, as a damaged one).
void DecodePicturesAhead(const char* folder, void (*then)());

}  // namespace spellcrypt
