// Global state for the fuzz targets: a headless platform that drops message boxes and log
// lines, so millions of runs neither print nor grow memory.
#pragma once

#include "app/globals.h"
#include "platform/headless_platform.h"

namespace spellcrypt::fuzzing {

class QuietPlatform : public HeadlessPlatform {
 public:
  bool ShowMessageBox(const char*, const char*, MessageBoxIcon) override { return true; }
  void DebugOut(const char*) override {}
};

inline void EnsureGlobals() {
  static QuietPlatform* platform = [] {
    auto* p = new QuietPlatform();
    CreateGlobals(*p);
    return p;
  }();
  (void)platform;
}

}  // namespace spellcrypt::fuzzing
