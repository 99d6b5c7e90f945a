// The shared look of every picture: one palette and one light. Everything the generator draws takes
// its colours and its light direction from here, so stone, parchment, gold and monsters agree.
#pragma once

#include <cstdint>

namespace spellcrypt::art {

struct Color {
  double r = 0, g = 0, b = 0, a = 1;
};

constexpr Color Rgb(std::uint32_t rgb, double a = 1.0) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, a};
}

Color Mix(const Color& a, const Color& b, double t);
Color Scale(const Color& c, double f);

namespace pal {
// Stone of the dungeon walls, from the deep shadow to the torch-lit face.
constexpr Color kStoneDeep = Rgb(0x0E0C0B);
constexpr Color kStoneDark = Rgb(0x2A2622);
constexpr Color kStone = Rgb(0x4D4740);
constexpr Color kStoneLight = Rgb(0x7A7065);
constexpr Color kMortar = Rgb(0x171412);
// Torchlight: the warm colour every lit surface picks up.
constexpr Color kTorch = Rgb(0xFFB45A);
constexpr Color kTorchHot = Rgb(0xFFE8A8);
constexpr Color kEmber = Rgb(0xC8461A);
// Parchment for panels, popups, tiles and pages.
constexpr Color kParchment = Rgb(0xE9D8B0);
constexpr Color kParchmentLight = Rgb(0xF5EBD0);
constexpr Color kParchmentDark = Rgb(0xC7A877);
constexpr Color kParchmentBurn = Rgb(0x7A5531);
// Ink on parchment.
constexpr Color kInk = Rgb(0x2B1A0E);
constexpr Color kInkRed = Rgb(0x8E1B12);
constexpr Color kInkFaded = Rgb(0x6B4C30);
// Gold trim and lit interface words.
constexpr Color kGoldDark = Rgb(0x6E4A12);
constexpr Color kGold = Rgb(0xC8962E);
constexpr Color kGoldLight = Rgb(0xF6D77A);
constexpr Color kGoldGlow = Rgb(0xFFF1B8);
// Wood of frames, doors and chests.
constexpr Color kWoodDark = Rgb(0x2E1B0E);
constexpr Color kWood = Rgb(0x6A4121);
constexpr Color kWoodLight = Rgb(0x9C6A3A);
// Iron.
constexpr Color kIron = Rgb(0x55565A);
constexpr Color kIronLight = Rgb(0xA4A6AA);
// Blood, life and magic.
constexpr Color kBlood = Rgb(0xA3161A);
constexpr Color kBloodLight = Rgb(0xE2403A);
constexpr Color kMagic = Rgb(0x5B8CFF);
constexpr Color kPoison = Rgb(0x6FB43A);
// The colour keys of the game's pictures.
constexpr std::uint32_t kKeyMagenta = 0xFF00FF;
constexpr std::uint32_t kKeyWhite = 0xFFFFFF;
}  // namespace pal

// The one light of the dungeon: torches above and to the left of the viewer.
struct Light {
  static constexpr double kX = -0.55;
  static constexpr double kY = -0.65;
  static constexpr double kZ = 0.52;
};

}  // namespace spellcrypt::art
