// Web Audio sound manager.
#include "audio/web_sound_manager.h"

#include <emscripten.h>

#include <string>

#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

// The page's side. Module.spellcryptAudio holds the context, the master gain (the mute), the
// decoded buffers by path, the playing sources by id and the music's source.
// clang-format off
EM_JS(int, spellcrypt_audio_init, (), {
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  if (!Module.spellcryptAudio) {
    const ctx = new Context();
    const master = ctx.createGain();
    master.connect(ctx.destination);
    Module.spellcryptAudio = {ctx: ctx, master: master, buffers: {}, loading: {}, voices: {}, music: null, musicPath: ""};
    // Browsers keep the context suspended until the player clicks or presses a key.
    const wake = function() { if (ctx.state != "running") ctx.resume(); };
    window.addEventListener("pointerdown", wake, true);
    window.addEventListener("keydown", wake, true);
    window.addEventListener("touchstart", wake, true);
  }
  return 1;
});

EM_JS(void, spellcrypt_audio_play, (const char* path, int id, int loop, int music), {
  const a = Module.spellcryptAudio;
  if (!a) return;
  const file = UTF8ToString(path);
  const start = function(buffer) {
    if (music && a.musicPath != file) return;  // another piece was asked for meanwhile
    const source = a.ctx.createBufferSource();
    source.buffer = buffer;
    source.loop = loop != 0;
    source.connect(a.master);
    source.onended = function() { if (a.voices[id] == source) delete a.voices[id]; };
    if (music) a.music = source; else a.voices[id] = source;
    source.start();
  };
  if (a.buffers[file]) { start(a.buffers[file]); return; }
  const waiting = a.loading[file] || (a.loading[file] = []);
  waiting.push(start);
  if (waiting.length > 1) return;
  let bytes;
  try {
    bytes = FS.readFile(file);
  } catch (e) {
    console.error("Sound " + file + " could not be read: " + e);
    delete a.loading[file];
    return;
  }
  const copy = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
  a.ctx.decodeAudioData(copy).then(function(buffer) {
    if (!music) a.buffers[file] = buffer;  // effects are kept; a piece of music is decoded anew
    const all = a.loading[file] || [];
    delete a.loading[file];
    all.forEach(function(f) { f(buffer); });
  }, function(e) {
    console.error("Sound " + file + " could not be decoded: " + e);
    delete a.loading[file];
  });
});

EM_JS(void, spellcrypt_audio_stop, (int id), {
  const a = Module.spellcryptAudio;
  if (!a || !a.voices[id]) return;
  try { a.voices[id].stop(); } catch (e) {}
  delete a.voices[id];
});

EM_JS(void, spellcrypt_audio_stop_all, (), {
  const a = Module.spellcryptAudio;
  if (!a) return;
  Object.keys(a.voices).forEach(function(id) { try { a.voices[id].stop(); } catch (e) {} });
  a.voices = {};
});

EM_JS(void, spellcrypt_audio_stop_music, (), {
  const a = Module.spellcryptAudio;
  if (!a) return;
  a.musicPath = "";
  if (a.music) { try { a.music.stop(); } catch (e) {} a.music = null; }
});

EM_JS(void, spellcrypt_audio_want_music, (const char* path), {
  const a = Module.spellcryptAudio;
  if (a) a.musicPath = UTF8ToString(path);
});

EM_JS(void, spellcrypt_audio_mute, (int mute), {
  const a = Module.spellcryptAudio;
  if (a) a.master.gain.setValueAtTime(mute ? 0 : 1, a.ctx.currentTime);
});
// clang-format on

WebSoundManager::~WebSoundManager() { Shutdown(); }

bool WebSoundManager::Init() {
  Shutdown();
  initialised_ = spellcrypt_audio_init() != 0;
  if (!initialised_) Log("This browser has no Web Audio: the game is silent.");
  return initialised_;
}

void WebSoundManager::Shutdown() {
  if (!initialised_) return;
  StopAllSounds();
  StopMusic();
  initialised_ = false;
}

int WebSoundManager::Play(const char* name, bool looped) {
  if (!initialised_ || name == nullptr) return -1;
  const std::string path = ResolvePath(name);
  if (!FileExists(path)) {
    Log("PlaySound: Error loading %s: file not found", name);
    return -1;
  }
  const int id = nextId_++;
  spellcrypt_audio_play(path.c_str(), id, looped ? 1 : 0, 0);
  return id;
}

int WebSoundManager::PlayMusic(const char* name, int loops) {
  if (!initialised_ || name == nullptr) return -1;
  StopMusic();
  const std::string path = ResolvePath(name);
  if (!FileExists(path)) {
    Log("PlayMusic: Error loading %s: file not found", name);
    return -1;
  }
  spellcrypt_audio_want_music(path.c_str());
  spellcrypt_audio_play(path.c_str(), 0, loops > 1 ? 1 : 0, 1);
  hasMusic_ = true;
  return 0;
}

void WebSoundManager::StopMusic() {
  hasMusic_ = false;
  if (initialised_) spellcrypt_audio_stop_music();
}

void WebSoundManager::StopSound(int id) {
  if (initialised_ && id > 0) spellcrypt_audio_stop(id);
}

void WebSoundManager::StopAllSounds() {
  if (initialised_) spellcrypt_audio_stop_all();
}

void WebSoundManager::SetMuteAll(bool mute) {
  if (initialised_) spellcrypt_audio_mute(mute ? 1 : 0);
}

}  // namespace spellcrypt
