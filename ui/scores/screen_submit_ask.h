// The question whether to submit the score to the internet rankings.
#pragma once

namespace spellcrypt {

// askName: the name is still to be asked (no local high score was entered). False on failure.
bool OpenSubmitQuestion(const char* question, bool askName);
// What follows a game once its score has been dealt with: the summary, a fresh run, and the game
// screen gone.
void FinishGame();

}  // namespace spellcrypt
