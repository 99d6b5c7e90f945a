// One HTTP/1.0 transfer on a worker thread: a form posted (or a GET without fields), the whole
// answer read until the server closes, its header cut off. The screen that owns it polls it once
// per frame and takes the body when it is done. Where the platform runs HTTP exchanges itself (a
// web page, which has no sockets), the transfer is one of those instead, with the same limits, to
// the server the page came from.
//
// Unlike the plain client the game once had, a transfer never hangs the game, never grows without
// bound and never leaks its thread: connecting and receiving time out, the body is capped, a
// failed receive is an error (never a complete but partial answer), and whoever lets go of the
// transfer last deletes it, decided in one locked step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/http_exchange.h"

namespace spellcrypt {

class WebDownloadWorker;

// Transfer states (the screens show one text per state).
enum WebState : int { kWebConnecting = 0, kWebSending = 1, kWebReceiving = 2, kWebDone = 3 };
// Transfer errors.
enum WebError : int {
  kWebNoError = 0,
  kWebConnectFailed = 1,  // "Unable to resolve URL.  Try again later" (the name did not resolve)
  kWebSendFailed = 2,     // "Error connecting.  Try again later" (refused, unreachable, no answer)
  kWebReceiveFailed = 3,  // "The server stopped answering.  Try again later" (broke off, or a time-out)
  kWebTooLarge = 4,       // "The server's answer was too large."
  kWebStartFailed = 5,    // "Unable to start the transfer.  Try again later" (Prepare or Init failed)
};

// Time-outs and the cap (the score server's answers are a few kilobytes).
constexpr int kWebConnectTimeoutMs = 10000;  // resolving and connecting, in all
constexpr int kWebReceiveTimeoutMs = 20000;  // the longest wait for the next byte (or room to send)
constexpr std::size_t kWebMaxBody = 1024 * 1024;

struct WebLimits {
  int connectTimeoutMs = kWebConnectTimeoutMs;
  int receiveTimeoutMs = kWebReceiveTimeoutMs;
  std::size_t maxBody = kWebMaxBody;
};

class WebDownload {
 public:
  WebDownload() = default;
  // Cancels the transfer.
  virtual ~WebDownload();
  WebDownload(const WebDownload&) = delete;
  WebDownload& operator=(const WebDownload&) = delete;

  // Cancels any earlier transfer and readies a new one. False when it cannot be made (the host
  // or the path is empty or holds spaces or control bytes, or there is no memory); GetError then
  // answers kWebStartFailed.
  bool Prepare(std::string_view host, int port, std::string_view path);
  // Appends name=value to the form, both URL-encoded; length -1 takes the value up to its NUL.
  // False without a prepared transfer, or once it has started.
  bool AddFormField(std::string_view name, const void* value, int length = -1);
  // Starts the worker thread. False without a prepared transfer or when no thread can be made
  // (logged): GetError then answers kWebStartFailed, so a screen shows an error at once. Also
  // false, changing nothing, when the transfer has been started already.
  bool Init();
  // Check it before the state: an error stops the transfer in the state where it happened.
  int GetError() const;
  const char* GetErrorText() const;
  static const char* ErrorText(int error);
  int GetState() const;
  // The body's bytes once the state is done, followed by a NUL that the size does not count.
  // Before that (and after an error) the body is empty: "" and 0.
  const char* GetData() const;
  int GetDataSize() const;
  // Lets go of the transfer at once, whatever it is doing; its thread ends within milliseconds.
  void Cancel();

  // The time-outs and the cap of the transfers prepared from now on.
  void SetLimits(const WebLimits& limits) { limits_ = limits; }
  const WebLimits& Limits() const { return limits_; }

 private:
  WebDownloadWorker* worker_ = nullptr;
  // Where the platform runs exchanges itself (the browser's fetch), the transfer is one of those.
  std::unique_ptr<HttpExchange> exchange_;
  int startError_ = kWebNoError;
  WebLimits limits_;
};

// Waits up to timeoutMs for the threads of cancelled transfers to end; true when none is left.
// The program calls it before it exits, after its screens (and so their transfers) are gone.
bool WaitForWebTransfers(int timeoutMs);

// The form encoding: letters and digits as they are, a space as "+", every other byte as "%XX".
std::string UrlEncode(const void* data, std::size_t length);
// The request a transfer sends (exposed for tests).
std::string BuildRequest(std::string_view host, std::string_view path, std::string_view form);

// For tests: what the transfers hold and run.
namespace web_download_testing {
int LiveWorkers();  // transfers not yet deleted
int LiveThreads();  // worker threads still running
// The most bytes any transfer's buffer has held since the last reset.
std::size_t PeakBufferBytes();
void ResetPeakBufferBytes();
// While set, Init fails as if no thread could be made.
void FailThreadStarts(bool fail);
}  // namespace web_download_testing

}  // namespace spellcrypt
