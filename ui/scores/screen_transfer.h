// The two popups that talk to the score server while the player waits: one submits the finished
// game, the other downloads the rankings (or one entry's summary). Each runs one transfer, shows
// its progress, and can be cancelled at any moment.
#pragma once

#include <string>

namespace spellcrypt {

class Screen;

// Submits the game in play (the player agreed to); the server's answer follows.
bool OpenSubmitScore();
// Downloads the three rankings (entryName null) or the summary of one entry; the answer is posted
// to everyone as MsgScoresDownloaded or MsgScoreDetailDownloaded (data and size), a cancel as
// MsgDownloadCancelled.
bool OpenDownloadScores(const char* entryName = nullptr, int entryScore = 0);
// The name of the entry a MsgScoreDetailDownloaded is for (its sender is the download screen).
std::string DownloadedEntryName(const void* sender);

}  // namespace spellcrypt
