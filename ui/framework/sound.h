// The game's sound entry points, which honour the settings' sound and music switches.
#pragma once

namespace spellcrypt {

// Nothing while soundOff is set; else PlaySound. Returns the sound id or -1.
int PlayEffect(const char* name);
// Nothing while soundOff is set; else PlayLooped (the low-life warning). The sound id or -1.
int PlayLoopedEffect(const char* name);
// Nothing while musicOff is set; else PlayMusic(name, 999), which loops.
int PlayMusicFile(const char* name);
// Nothing while musicOff is set; else the piece once (the ending's closing music).
int PlayMusicOnce(const char* name);
// Brings the sound system in line with the switches after the options page changed them.
void ApplySoundSettings();

}  // namespace spellcrypt
