// The submission and download popups.
#include "ui/scores/screen_transfer.h"

#include <cstdio>
#include <new>
#include <string>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/score_server.h"
#include "base/version.h"
#include "game/game.h"
#include "scores/score_protocol.h"
#include "scores/web_download.h"
#include "ui/framework/screen.h"
#include "ui/game/game_view.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/scores/screen_submit_ask.h"
#include "ui/scores/summary_box.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

namespace {

constexpr int kBackgroundLayer = 600;
constexpr int kMemberLayer = 602;

class ScreenTransfer : public Screen {
 public:
  bool HandleInput(int type, const InputEvent* event) override {
    if (type == InputClicked && event != nullptr && event->senderId == cancel_.id && !finished_) {
      finished_ = true;
      download_.Cancel();
      Close();
      Cancelled();
    }
    return false;
  }

  // Shows the transfer's progress; once it is done, hands the answer on and closes.
  void Update() override {
    if (finished_) return;
    status_.Clear();
    const int error = startFailed_ ? kWebStartFailed : download_.GetError();
    if (error != kWebNoError) {
      status_.AddText(WebDownload::ErrorText(error));
      return;
    }
    switch (download_.GetState()) {
      case kWebConnecting:
        status_.AddText("Connecting to network...");
        break;
      case kWebSending:
        status_.AddText("Communication with server");
        break;
      case kWebReceiving:
        status_.AddText("Downloading data...");
        break;
      default:
        finished_ = true;
        Done(std::string(download_.GetData(), static_cast<std::size_t>(download_.GetDataSize())));
        Close();
        break;
    }
  }

 protected:
  // The popup, its cancel button and its status line, then the transfer (prepared by `fill`).
  bool Build(const char* picture, const char* path) {
    Screen::Start();
    if (!background_.LoadImage(picture, true, kMagenta)) return false;
    const CThingSprite::Point corner = background_.Centre();
    background_.SetPosition(corner.x, corner.y);
    background_.layer = kBackgroundLayer;
    if (!background_.AddToList(nullptr)) return false;
    cancel_.SetName("transfer_cancel");
    cancel_.SetOverImage("graphics\\download_cancel_over.bmp", false);
    cancel_.SetPosition(corner.x + 167, corner.y + 129);
    cancel_.layer = kMemberLayer;
    if (!cancel_.AddToList(this)) return false;
    status_.SetName("transfer_status");
    if (CAppGlo* app = GetApp()) status_.SetFont(&app->smallFont);
    status_.SetPosition(corner.x + 80, corner.y + 70);
    // The status fills the popup's inner frame; a long error wraps onto a second line there.
    status_.SetArea(0, 0, background_.Width() - 100, 60);
    status_.lineSpacing = 0;
    status_.layer = kMemberLayer;
    if (!status_.AddToList(this)) return false;
    const ServerAddress server = ScoreServer();
    // A transfer that cannot even start shows its error at once rather than waiting forever.
    startFailed_ = !download_.Prepare(server.host, server.port, path) || !AddFields() || !download_.Init();
    if (startFailed_)
      LogError("The transfer to %s:%d could not be started.", server.host.c_str(), server.port);
    return true;
  }

  virtual bool AddFields() = 0;
  virtual void Done(const std::string& reply) = 0;
  virtual void Cancelled() = 0;

  WebDownload download_;

 private:
  CThingSprite background_;
  CMenuBut cancel_;
  CTextBox status_;
  bool startFailed_ = false;
  bool finished_ = false;
};

class ScreenSubmitResponse : public ScreenContinue {
 public:
  void HandleMessage(const Message& message) override {
    if (message.type == MsgNoticeClosed && !closed) {
      Close();
      FinishGame();
    }
    ScreenContinue::HandleMessage(message);
  }
};

class ScreenSubmitScore : public ScreenTransfer {
 public:
  bool Start() override { return Build("graphics\\upload_bg.jpg", "splcryp/submit.php"); }

 private:
  bool AddFields() override {
    Game* game = TheGame();
    CAppGlo* app = GetApp();
    if (game == nullptr || app == nullptr) return false;
    const RunRecord& run = game->player.record;
    std::string line =
        GameLine(app->settings->mode, app->settings->playerName, run.score, run.dungeon, run.bossesSlain);
    std::string summary = StoredGameSummary(*game);
    const std::uint32_t lineCheck =
        EncodeForServer(reinterpret_cast<std::uint8_t*>(line.data()), line.size(), kSubmissionKey);
    const std::uint32_t summaryCheck =
        EncodeForServer(reinterpret_cast<std::uint8_t*>(summary.data()), summary.size(), kSubmissionKey);
    const std::string lineCrc = std::to_string(lineCheck);
    const std::string summaryCrc = std::to_string(summaryCheck);
    return download_.AddFormField("version", kVersionText) &&
           download_.AddFormField("data", line.data(), static_cast<int>(line.size())) &&
           download_.AddFormField("datacrc", lineCrc.c_str()) &&
           download_.AddFormField("extra", summary.data(), static_cast<int>(summary.size())) &&
           download_.AddFormField("extracrc", summaryCrc.c_str());
  }

  void Done(const std::string& reply) override {
    auto* answer = new (std::nothrow) ScreenSubmitResponse();
    if (answer == nullptr) return;
    answer->SetText(SubmitReplyMessage(reply).c_str());
    if (!answer->StartOrClose()) {
      LogError("Unable to show the score server's answer");
      FinishGame();
    }
  }

  // Cancelled, the game ends as if the player had not wanted to submit.
  void Cancelled() override { FinishGame(); }
};

class ScreenDownloadScores : public ScreenTransfer {
 public:
  ScreenDownloadScores(const char* name, int score)
      : entry_(name != nullptr), name_(name ? name : ""), score_(score) {}
  bool Start() override { return Build("graphics\\download_bg.jpg", "splcryp/getscores.php"); }
  const std::string& Name() const { return name_; }

 private:
  bool AddFields() override {
    if (!download_.AddFormField("version", kVersionText)) return false;
    if (!entry_) return true;
    const std::string score = std::to_string(score_);
    return download_.AddFormField("name", name_.c_str()) && download_.AddFormField("score", score.c_str());
  }

  void Done(const std::string& reply) override {
    reply_ = reply;
    // Handled at once, while this screen (and the reply it holds) still exists.
    GetGlobals().PostMessage(entry_ ? MsgScoreDetailDownloaded : MsgScoresDownloaded, 0, nullptr,
                             static_cast<int>(reply_.size()), reply_.c_str(), this);
  }

  void Cancelled() override { GetGlobals().PostMessage(MsgDownloadCancelled, 0, nullptr, 0); }

  bool entry_;
  std::string name_;
  int score_;
  std::string reply_;
};

}  // namespace

bool OpenSubmitScore() {
  auto* submit = new (std::nothrow) ScreenSubmitScore();
  if (submit == nullptr || !submit->StartOrClose()) {
    LogError("Unable to init the score submission");
    return false;
  }
  return true;
}

bool OpenDownloadScores(const char* entryName, int entryScore) {
  auto* download = new (std::nothrow) ScreenDownloadScores(entryName, entryScore);
  if (download == nullptr || !download->StartOrClose()) {
    LogError("Unable to init the score download");
    return false;
  }
  return true;
}

std::string DownloadedEntryName(const void* sender) {
  const auto* download = static_cast<const ScreenDownloadScores*>(sender);
  return download != nullptr ? download->Name() : std::string();
}

}  // namespace spellcrypt
