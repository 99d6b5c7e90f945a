// Small numeric helpers shared by every subsystem.
#pragma once

#include <cmath>
#include <cstdlib>

namespace spellcrypt {

inline void Clamp(int& value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
}

// a - (a - b) * t, in single precision.
inline float Lerp(float a, float b, float t) { return a - (a - b) * t; }

// Moves value toward target by step without passing it.
inline void Approach(float& value, float target, float step) {
  if (value == target) return;
  if (value > target) {
    value -= step;
    if (value < target) value = target;
  } else {
    value += step;
    if (value > target) value = target;
  }
}

// a mod b, made non-negative by adding abs(b).
inline int PosMod(int a, int b) {
  if (b == 0) return 0;
  int r = a % b;
  if (r < 0) r += std::abs(b);
  return r;
}

inline bool InRange(int value, int low, int high) { return low <= value && value <= high; }
inline bool IsNear(int a, int b, int tolerance) { return std::abs(a - b) <= tolerance; }

}  // namespace spellcrypt
