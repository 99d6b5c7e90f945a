// The monsters: one picture per creature, all lit alike by the torches on the upper left and set
// on the floor of the monster window (bottom centre at (109, 187) unless placed by the table).
// The drawings themselves are in monster_beasts.cpp (animals, from game-icons silhouettes shaded
// part by part) and monster_folk.cpp (the humanlike ones, drawn here from their parts).
#include "tools/art/monster_portraits.h"
#include "tools/art/picture_set.h"

namespace spellcrypt::art {

namespace {

constexpr const char* kFloor = "bottom centre at (109,187) in the monster window";

struct Entry {
  const char* file;
  const char* name;
  Canvas (*draw)();
  const char* where;
};

}  // namespace

void MakeMonsters(PictureSet& set) {
  using namespace monster;
  const Entry entries[] = {
      {"Rat.bmp", "Rat", Rat, kFloor},
      {"Spider.bmp", "Spider", Spider, kFloor},
      {"Skeleton.bmp", "Skeleton", Skeleton, "(41,22) in the monster window"},
      {"wolf.bmp", "Night Wolf", NightWolf, kFloor},
      {"monster1.bmp", "AquaMan", AquaMan, kFloor},
      {"succubus.bmp", "Succubus", Succubus, kFloor},
      {"Zombie.bmp", "Zombie", Zombie, kFloor},
      {"cyclops.bmp", "Cyclops", Cyclops, kFloor},
      {"frog.bmp", "Glop", Glop, kFloor},
      {"grizzly.bmp", "Grizzly", Grizzly, kFloor},
      {"cobra.bmp", "Mystic Cobra", MysticCobra, kFloor},
      {"ghoul.bmp", "Ghoul Seer", GhoulSeer, kFloor},
      {"squirrel.bmp", "Horror Squirrel", HorrorSquirrel, kFloor},
      {"turtle.bmp", "Turtle", Turtle, kFloor},
      {"head.bmp", "Maimed Face", MaimedFace, "(41,35) in the monster window"},
      {"stone.bmp", "Stone Giant", StoneGiant, kFloor},
      {"dragon.bmp", "Dragon, Evil Dragon (also the falling \"dragon\" picture)", Dragon,
       "(26,24) in the monster window"},
      {"snake.bmp", "Snake", Snake, "(23,133) in the monster window"},
      {"bomb.bmp", "Mr Bomb", MrBomb, kFloor},
      {"turtle_big_red.bmp", "Fire Tortoise", FireTortoise, kFloor},
  };
  for (const Entry& e : entries)
    set.Emit(std::string("graphics/character/") + e.file, e.draw(), 1, pal::kKeyMagenta, e.where,
             std::string("CMonster sprite \"danim\": ") + e.name);
  const Canvas first = DeathTouch(0);
  Canvas hand(first.width() * 3, first.height());
  for (int f = 0; f < 3; ++f) hand.Draw(f == 0 ? first : DeathTouch(f), f * first.width(), 0);
  set.Emit("graphics/character/hand_ani.bmp", hand, 3, pal::kKeyMagenta,
           "bottom centre at (109,187); frames 0-2 reach and grab when it attacks",
           "CMonster sprite \"danim\": Death Touch");
}

}  // namespace spellcrypt::art
