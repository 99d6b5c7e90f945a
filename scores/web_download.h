// One HTTP/1.0 transfer on a worker thread: a form posted (or a GET without fields), the whole
// answer read until the server closes, its header cut off. The screen that owns it polls it once
// per frame and takes the body when it is done.
//
// Unlike the plain client the game once had, a transfer never hangs the game, never grows without
// bound and never leaks its thread: connecting and receiving time out, the body is capped, a
// failed receive is an error (never a complete but partial answer), and whoever lets go of the
// transfer last deletes it, decided in one locked step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace spellcrypt {

class WebDownloadWorker;

// Transfer states (the screens show one text per state).
enum WebState : int { kWebConnecting = 0, kWebSending = 1, kWebReceiving = 2, kWebDone = 3 };
// Transfer errors.
enum WebError : int {
  kWebNoError = 0,
  kWebConnectFailed = 1,  // "Unable to resolve URL.  Try again later"
  kWebSendFailed = 2,     // "Error connecting.  Try again later"
  kWebReceiveFailed = 3,  // the answer broke off or stopped coming (a time-out)
  kWebTooLarge = 4,       // the answer was larger than the cap
};

// Time-outs and the cap (the score server's answers are a few kilobytes).
constexpr int kWebConnectTimeoutMs = 10000;
constexpr int kWebReceiveTimeoutMs = 20000;
constexpr std::size_t kWebMaxBody = 1024 * 1024;

class WebDownload {
 public:
  WebDownload() = default;
  // Cancels the transfer.
  virtual ~WebDownload();
  WebDownload(const WebDownload&) = delete;
  WebDownload& operator=(const WebDownload&) = delete;

  // Cancels any earlier transfer and readies a new one. False when it cannot be made.
  bool Prepare(std::string_view host, int port, std::string_view path);
  // Appends name=value to the form, both URL-encoded; length -1 takes the value up to its NUL.
  bool AddFormField(std::string_view name, const void* value, int length = -1);
  // Starts the worker thread. False (logged) without a prepared transfer or a thread.
  bool Init();
  int GetError() const;
  const char* GetErrorText() const;
  static const char* ErrorText(int error);
  int GetState() const;
  // The body's bytes; once done they are followed by a NUL that the size does not count.
  const char* GetData() const;
  int GetDataSize() const;
  // Lets go of the transfer at once, whatever it is doing.
  void Cancel();

 private:
  WebDownloadWorker* worker_ = nullptr;
};

// The form encoding: letters and digits as they are, a space as "+", every other byte as "%XX".
std::string UrlEncode(const void* data, std::size_t length);
// The request a transfer sends (exposed for tests).
std::string BuildRequest(std::string_view host, std::string_view path, std::string_view form);

}  // namespace spellcrypt
