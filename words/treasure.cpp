// The treasure word lists and sentences.
#include "words/treasure.h"

#include <string>

#include "base/random.h"
#include "base/text_util.h"
#include "words/article.h"

namespace spellcrypt {

namespace {

template <std::size_t N>
const char* Draw(MersenneTwister& random, const char* const (&list)[N]) {
  return list[random.Below(static_cast<int>(N))];
}

const char* const kAdjectives[] = {
    "hairy",    "fat",   "cute",    "shiny",    "delicious", "wet",      "fairy-like", "small",     "noisy",
    "dark",     "red",   "bluish",  "greenish", "purple",    "brownish", "pale",       "beautiful", "plump",
    "young",    "ripe",  "wizened", "sour",     "magical",   "cursed",   "droopy",     "sweet",     "hateful",
    "dwarfish", "giant", "tiny",    "golden",   "bronze",    "elfish"};

const char* const kNouns[] = {"princess", "frog",   "plunger", "grape",  "hairbrush", "chest",   "underwear",
                              "man",      "goblet", "apple",   "dagger", "fish",      "chalice", "hampster",
                              "skull",    "girl",   "book",    "scroll", "dog",       "Q-Tip",   "pill",
                              "bean",     "candy",  "ghost",   "tooth",  "finger",    "egg",     "rodent",
                              "spoon",    "box",    "vial",    "stone",  "gem",       "diamond", "dwarf",
                              "fairy",    "elf"};

const char* const kVerbs[] = {"bouncing", "dripping", "shaking", "screaming", "sliding",  "dancing",
                              "crying",   "laughing", "flying",  "simmering", "crawling", "jumping",
                              "talking",  "moving",   "glowing", "vibrating", "flaming",  "pulsating"};

// Dungeon 2's sentence is one of these instead; each names a secret word.
const char* const kPowerWordSentences[] = {
    "You learn a new power word: SPIDER",  "You learn a new power word: RAT",
    "You learn a new power word: DUNGEON", "You learn a new power word: ZORBLE",
    "You learn a new power word: DEATH",   "You learn a new power word: HEDGE",
    "You learn a new power word: VANTOK"};

// Index 0 stands for dungeon 1; dungeon 2's entry is taken from the power-word sentences.
const char* const kDungeonSentences[] = {"You find a silver apple!",
                                         nullptr,
                                         "You find a human skull!",
                                         "You find a golden coat hanger!",
                                         "You find dungeon 6!",
                                         "You find the tv remote.",
                                         "You find an honest accountant.",
                                         "You find a silver chalice!",
                                         "You can't find anything.",
                                         "You find $870 dollars.",
                                         "You rescue a beautiful fairy princess.",
                                         "You save a rare species.",
                                         "You kick all bad habits.",
                                         "You find intestines.",
                                         "You save the world.",
                                         "You cure cancer.",
                                         "You find two bagels.",
                                         "You find true contentment.",
                                         "You find true love.",
                                         "You are credit approved."};

// Random sentences: the opening, then one word per letter (adjective, verb, noun), then a full
// stop. Chosen by RandomRange(1, 6); the first shape comes up twice as often as the others. The
// opening's "a" becomes "an" before a word that starts with a vowel sound.
struct SentenceShape {
  const char* opening;
  const char* parts;
};
const SentenceShape kShapes[] = {{"You find a", "an"},     {"You find a", "avn"}, {"You pickup a", "aan"},
                                 {"You discover a", "an"}, {"You find a", "vn"},  {"You find a", "an"}};

constexpr int kFixedDungeons = static_cast<int>(sizeof kDungeonSentences / sizeof kDungeonSentences[0]);
constexpr int kLastDungeon = 25;

}  // namespace

const char* RandomAdjective(MersenneTwister& random) { return Draw(random, kAdjectives); }
const char* RandomNoun(MersenneTwister& random) { return Draw(random, kNouns); }
const char* RandomVerb(MersenneTwister& random) { return Draw(random, kVerbs); }

const char* RandomTreasure(MersenneTwister& random, char* buffer, std::size_t size) {
  // The words are drawn in the order they stand in the sentence.
  const SentenceShape& shape = kShapes[random.Range(1, 6) - 1];
  std::string words;
  for (const char* part = shape.parts; *part != '\0'; ++part) {
    words += ' ';
    words +=
        *part == 'a' ? RandomAdjective(random) : (*part == 'v' ? RandomVerb(random) : RandomNoun(random));
  }
  // The opening ends in its article, "a": replaced by the one the first word takes.
  const std::string_view opening(shape.opening);
  std::string text(opening.substr(0, opening.size() - 1));
  text += IndefiniteArticle(std::string_view(words).substr(1));
  text += words;
  text += '.';
  CopyText(buffer, size, text);
  return buffer;
}

const char* TreasureSentence(MersenneTwister& random, char* buffer, std::size_t size, int dungeon) {
  if (dungeon == kLastDungeon) return "You've killed everything!";
  const bool fixed = random.Range(1, 4) == 1;
  if (fixed && dungeon >= 1 && dungeon <= kFixedDungeons) {
    if (dungeon == 2) return Draw(random, kPowerWordSentences);
    return kDungeonSentences[dungeon - 1];
  }
  return RandomTreasure(random, buffer, size);
}

}  // namespace spellcrypt
