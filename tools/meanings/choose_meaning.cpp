// Which of a word's base forms gives its meaning, and which definitions are kept.
#include "tools/meanings/choose_meaning.h"

#include <algorithm>

#include "tools/meanings/base_form.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kOwnFormWeight = 4;

std::uint32_t Weight(const WordNet& wordnet, const BaseForm& form) {
  const auto& uses = wordnet.uses[static_cast<int>(form.pos)];
  const auto found = uses.find(form.base);
  const std::uint32_t count = (found == uses.end() ? 0 : found->second) + 1;
  return form.route == BaseRoute::Lemma && !form.respelled ? count * kOwnFormWeight : count;
}

// The definitions of a base form's senses, in sense order, the empty ones left out.
std::vector<std::string> Definitions(const WordNet& wordnet, const BaseForm& form, std::size_t most) {
  std::vector<std::string> definitions;
  const int p = static_cast<int>(form.pos);
  const auto senses = wordnet.senses[p].find(form.base);
  if (senses == wordnet.senses[p].end()) return definitions;
  for (std::uint32_t synset : senses->second) {
    if (definitions.size() == most) break;
    const auto gloss = wordnet.glosses[p].find(synset);
    if (gloss == wordnet.glosses[p].end()) continue;
    std::string definition = ShortGloss(gloss->second);
    if (!definition.empty() &&
        std::find(definitions.begin(), definitions.end(), definition) == definitions.end())
      definitions.push_back(std::move(definition));
  }
  return definitions;
}

}  // namespace

bool MeaningOf(const WordNet& wordnet, const std::string& word, Meaning* meaning) {
  std::vector<BaseForm> forms = FindBaseForms(word, wordnet.lexicon);
  std::stable_sort(forms.begin(), forms.end(), [&](const BaseForm& a, const BaseForm& b) {
    return Weight(wordnet, a) > Weight(wordnet, b);
  });
  for (std::size_t i = 0; i < forms.size(); ++i) {
    std::vector<std::string> definitions = Definitions(wordnet, forms[i], 2);
    if (definitions.empty()) continue;
    meaning->base = wordnet.Displayed(forms[i].base);
    meaning->derived = forms[i].route == BaseRoute::Derived;
    meaning->first = {forms[i].pos, definitions[0]};
    meaning->second.reset();
    if (definitions.size() > 1) {
      meaning->second = Sense{forms[i].pos, definitions[1]};
      return true;
    }
    for (std::size_t j = i + 1; j < forms.size() && !meaning->second; ++j) {
      if (forms[j].base != forms[i].base) continue;
      std::vector<std::string> other = Definitions(wordnet, forms[j], 1);
      if (!other.empty() && other[0] != definitions[0]) meaning->second = Sense{forms[j].pos, other[0]};
    }
    return true;
  }
  return false;
}

}  // namespace spellcrypt
