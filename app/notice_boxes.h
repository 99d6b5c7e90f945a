// Message boxes while the game runs: shown as the game's own notice popup over the live frame, so
// the main loop goes on drawing, the window keeps its look and a quit request (the window closed,
// SIGTERM, Ctrl+C) is honoured at once. Before the game's screens exist and after they are gone,
// boxes are the platform's own.
#pragma once

namespace spellcrypt {

// Routes message boxes to notices (true) or gives them back to the platform (false).
void RouteBoxesToNotices(bool on);
// Opens the notices of the boxes asked for since the last frame, over whatever screen is on top
// by then (the caller of a box usually changes screens right after it). Called once per frame.
void OpenQueuedNotices();

}  // namespace spellcrypt
