// Silhouettes from the game-icons collection (CC BY 3.0), installed by scripts/art_assets.sh and
// rendered into masks that the generator then lights and colours in the game's own style.
#pragma once

#include <string>

#include "tools/art/canvas.h"

namespace spellcrypt::art {

// Reads the collection's icons.json. False when it is missing or unreadable.
bool LoadIcons(const std::string& iconsJsonPath);

struct IconPlacement {
  double x = 0, y = 0, w = 0, h = 0;  // where the icon's 512x512 square lands
  bool flip = false;                  // mirrored left to right
  double rotate = 0;                  // radians, about the square's centre
};

// Coverage of the named icon on a w x h mask. An unknown name logs and gives an empty mask.
Mask IconMask(const std::string& name, int w, int h, const IconPlacement& place);
// The same, with the icon's square filling the whole mask.
Mask IconMask(const std::string& name, int w, int h, bool flip = false);

// Renders an icon so that its ink fills a w x h box, keeping its proportions, standing on the
// box's bottom edge and centred across it; `grow` enlarges it about that placement.
Mask FitIcon(const std::string& name, int w, int h, bool flip = false, double rotate = 0, double grow = 1.0);

// Every icon name used so far (for the credits check).
const std::vector<std::string>& UsedIcons();

}  // namespace spellcrypt::art
