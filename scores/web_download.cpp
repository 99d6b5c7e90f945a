// The HTTP client: each transfer runs on a thread of its own, which connects, sends the request,
// reads the answer until the server closes the connection and cuts the header off. The owner and
// the thread share the worker; whichever lets go of it last deletes it, decided under its lock.
#include "scores/web_download.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/log.h"
#include "platform/http_exchange.h"
#include "platform/tcp_socket.h"
#include "scores/http_response.h"

namespace spellcrypt {

namespace {

// One read fills at most this many bytes of the receive buffer, so a NUL always fits after them.
constexpr std::size_t kChunk = 2024;

// What the owner's side and the threads have under way, for tests and for the program's exit.
std::atomic<int> liveWorkers{0};
std::atomic<int> liveThreads{0};
std::atomic<std::size_t> peakBufferBytes{0};
std::atomic<bool> failThreadStarts{false};

void NoteBufferBytes(std::size_t bytes) {
  std::size_t peak = peakBufferBytes.load(std::memory_order_relaxed);
  while (bytes > peak && !peakBufferBytes.compare_exchange_weak(peak, bytes, std::memory_order_relaxed)) {
  }
}

const char* SocketErrorText(int number) {
  switch (number) {
    case 10035:
      return "Winsock Error: WSAEWOULDBLOCK";
    case 10036:
      return "Winsock Error: WSAEINPROGRESS";
    case 10037:
      return "Winsock Error: WSAEALREADY";
    case 10038:
      return "Winsock Error: WSAENOTSOCK";
    case 10039:
      return "Winsock Error: WSAEDESTADDRREQ";
    case 10040:
      return "Winsock Error: WSAEMSGSIZE";
    case 10041:
      return "Winsock Error: WSAEPROTOTYPE";
    case 10042:
      return "Winsock Error:WSAENOPROTOOP";
    case 10043:
      return "Winsock Error: WSAEPROTONOSUPPORT";
    case 10044:
      return "Winsock Error: WSAESOCKTNOSUPPORT";
    case 10045:
      return "Winsock Error: WSAEOPNOTSUPP";
    default:
      return "Winsock Error: Unknown.";
  }
}

void LogSocketError(int number) {
  Log("%s", SocketErrorText(number));
  Log("Socket error number %d", number);
}

// A host or a path goes into the request line and the Host line as it is: no spaces, no control
// bytes, nothing that could end a line.
bool IsPlainRequestText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F;
  });
}

bool IsAsciiLetterOrDigit(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9');
}

}  // namespace

class WebDownloadWorker {
 public:
  WebDownloadWorker(std::string_view hostName, int portNumber, std::string_view pathName,
                    const WebLimits& transferLimits);
  virtual ~WebDownloadWorker();
  WebDownloadWorker(const WebDownloadWorker&) = delete;
  WebDownloadWorker& operator=(const WebDownloadWorker&) = delete;

  // The thread: one step after the other until the transfer ends or its owner lets go.
  static void Run(WebDownloadWorker* worker);

  std::string host;
  std::string path;
  int port;
  int runFlag = 0;  // 0 not running, 1 running, 2 the owner has let go; guarded by lock
  // Written by the thread only; done is published (release) after the body's NUL is in place.
  std::atomic<int> state{kWebConnecting};
  int error = kWebNoError;  // guarded by lock
  std::mutex lock;
  TcpSocket socket;
  char receiveBuffer[kChunk + 1] = {};
  HttpResponse response;
  std::string form;
  WebLimits limits;
  bool started = false;  // the owner's side only

 private:
  void Step();
  void Connect();
  void SendRequest();
  void ReceiveChunk();
  void Fail(int code);
};

WebDownloadWorker::WebDownloadWorker(std::string_view hostName, int portNumber, std::string_view pathName,
                                     const WebLimits& transferLimits)
    : host(hostName),
      path(pathName),
      port(portNumber),
      response(transferLimits.maxBody, kChunk),
      limits(transferLimits) {
  NoteBufferBytes(response.Capacity());
  liveWorkers.fetch_add(1, std::memory_order_relaxed);
}

WebDownloadWorker::~WebDownloadWorker() {
  socket.Close();
  DebugOut("Killing critical section");
  liveWorkers.fetch_sub(1, std::memory_order_release);
}

void WebDownloadWorker::Run(WebDownloadWorker* worker) {
  Log("Running thread!");
  for (;;) {
    worker->Step();
    // One locked decision: either the owner has let go and this side deletes, or the transfer
    // ended and the owner will; never both, never neither.
    std::unique_lock<std::mutex> guard(worker->lock);
    if (worker->runFlag == 2) {
      guard.unlock();
      delete worker;
      break;
    }
    if (worker->error != kWebNoError || worker->state.load(std::memory_order_relaxed) == kWebDone) {
      worker->runFlag = 0;
      break;
    }
  }
  liveThreads.fetch_sub(1, std::memory_order_release);
}

void WebDownloadWorker::Step() {
  switch (state.load(std::memory_order_relaxed)) {
    case kWebConnecting:
      Connect();
      break;
    case kWebSending:
      SendRequest();
      break;
    case kWebReceiving:
      ReceiveChunk();
      break;
    default:
      break;
  }
}

void WebDownloadWorker::Fail(int code) {
  // The connection goes at once, not when the owner gets round to deleting the transfer.
  socket.Close();
  std::lock_guard<std::mutex> guard(lock);
  error = code;
}

void WebDownloadWorker::Connect() {
  Log("Connecting to %s", host.c_str());
  if (socket.Connect(host.c_str(), port, limits.connectTimeoutMs)) {
    Log("Connected OK");
    state.store(kWebSending, std::memory_order_release);
    return;
  }
  const int number = socket.LastError();
  if (number != kSocketInterrupted) {
    LogSocketError(number);
    if (number == kSocketTimedOut)
      Log("No connection to %s within %d ms", host.c_str(), limits.connectTimeoutMs);
  }
  // A name that does not resolve (in time) is one thing to the player; a server that refuses or
  // does not answer is another.
  Fail(socket.Resolved() ? kWebSendFailed : kWebConnectFailed);
}

void WebDownloadWorker::SendRequest() {
  const std::string request = BuildRequest(host, path, form);
  for (std::size_t sent = 0; sent < request.size();) {
    const int count = socket.Send(request.data() + sent, request.size() - sent, limits.receiveTimeoutMs);
    if (count <= 0) {
      if (socket.LastError() != kSocketInterrupted) LogSocketError(socket.LastError());
      Fail(kWebSendFailed);
      return;
    }
    sent += static_cast<std::size_t>(count);
  }
  state.store(kWebReceiving, std::memory_order_release);
}

void WebDownloadWorker::ReceiveChunk() {
  // Reads until the chunk is full or the server closes. A failing read is an error, never the end
  // of the answer: a list cut short must not pass for the whole list.
  std::size_t got = 0;
  while (got < kChunk) {
    const int count = socket.Receive(receiveBuffer + got, kChunk - got, limits.receiveTimeoutMs);
    if (count == 0) break;
    if (count < 0) {
      const int number = socket.LastError();
      if (number != kSocketInterrupted) {
        Log("RawSocket got blocked.");
        LogSocketError(number);
        if (number == kSocketTimedOut)
          Log("No data from %s for %d ms", host.c_str(), limits.receiveTimeoutMs);
      }
      Fail(kWebReceiveFailed);
      return;
    }
    got += static_cast<std::size_t>(count);
  }
  receiveBuffer[got] = '\0';
  Log("Downloading chunk (got %d bytes)", static_cast<int>(got));
  if (got == 0) {
    Log("Got everything");
    socket.Close();
    response.Finish();
    state.store(kWebDone, std::memory_order_release);
    return;
  }
  response.Append(receiveBuffer, got);
  NoteBufferBytes(response.Capacity());
  Log("Total downloadsize is %d bytes", static_cast<int>(response.Body().size()));
  if (!response.Examine()) {
    Log("The answer from %s is over %zu bytes", host.c_str(), limits.maxBody);
    Fail(kWebTooLarge);
  }
}

WebDownload::~WebDownload() { Cancel(); }

bool WebDownload::Prepare(std::string_view host, int port, std::string_view path) {
  Cancel();
  if (host.empty() || !IsPlainRequestText(host) || !IsPlainRequestText(path)) {
    LogError("A transfer needs a plain host and path (no spaces or control characters)");
    startError_ = kWebStartFailed;
    return false;
  }
  try {
    worker_ = new WebDownloadWorker(host, port, path, limits_);
  } catch (const std::bad_alloc&) {
    LogError("No memory for a transfer to %.*s", static_cast<int>(host.size()), host.data());
    startError_ = kWebStartFailed;
    return false;
  }
  return true;
}

bool WebDownload::AddFormField(std::string_view name, const void* value, int length) {
  // Once the thread runs it reads the form: it is not changed any more.
  if (worker_ == nullptr || worker_->started) return false;
  std::size_t size = 0;
  if (value != nullptr) {
    size = length >= 0 ? static_cast<std::size_t>(length) : std::strlen(static_cast<const char*>(value));
  }
  std::string& form = worker_->form;
  if (!form.empty()) form += '&';
  form += UrlEncode(name.data(), name.size());
  form += '=';
  form += UrlEncode(value, size);
  return true;
}

bool WebDownload::Init() {
  if (worker_ == nullptr) {
    LogError("A transfer was started without being prepared");
    startError_ = kWebStartFailed;
    return false;
  }
  WebDownloadWorker* worker = worker_;
  if (worker->started) return false;
  worker->started = true;
  if (HttpExchangesOffered()) {
    HttpExchangeRequest request;
    request.method = worker->form.empty() ? "GET" : "POST";
    // From the root of the server the page came from, as the desktop's request line has it.
    request.path = (worker->path.rfind('/', 0) == 0 ? "" : "/") + worker->path;
    request.form = worker->form;
    request.timeoutMs = limits_.connectTimeoutMs + limits_.receiveTimeoutMs;
    request.maxBody = limits_.maxBody;
    exchange_ = StartHttpExchange(request);
    if (exchange_ != nullptr) return true;
    LogError("The transfer to %s could not be started", worker->path.c_str());
    std::lock_guard<std::mutex> guard(worker->lock);
    worker->error = kWebStartFailed;
    return false;
  }
  {
    // Marked running before the thread exists, so a Cancel from now on hands the worker over.
    std::lock_guard<std::mutex> guard(worker->lock);
    worker->runFlag = 1;
  }
  liveThreads.fetch_add(1, std::memory_order_relaxed);
  try {
    if (failThreadStarts.load(std::memory_order_relaxed)) {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    std::thread(&WebDownloadWorker::Run, worker).detach();
  } catch (const std::system_error& failure) {
    liveThreads.fetch_sub(1, std::memory_order_relaxed);
    LogError("Error %d initting a new thread in WebDownload::Init", failure.code().value());
    std::lock_guard<std::mutex> guard(worker->lock);
    worker->runFlag = 0;
    worker->error = kWebStartFailed;
    return false;
  }
  return true;
}

int WebDownload::GetError() const {
  if (exchange_ != nullptr) {
    switch (exchange_->GetState()) {
      case HttpExchange::State::Failed:
        return kWebSendFailed;
      case HttpExchange::State::TooLarge:
        return kWebTooLarge;
      default:
        return kWebNoError;
    }
  }
  if (worker_ == nullptr) return startError_;
  std::lock_guard<std::mutex> guard(worker_->lock);
  return worker_->error;
}

const char* WebDownload::GetErrorText() const { return ErrorText(GetError()); }

const char* WebDownload::ErrorText(int error) {
  switch (error) {
    case kWebNoError:
      return "No error";
    case kWebConnectFailed:
      return "Unable to resolve URL.  Try again later";
    case kWebSendFailed:
      return "Error connecting.  Try again later";
    case kWebReceiveFailed:
      return "The server stopped answering.  Try again later";
    case kWebTooLarge:
      return "The server's answer was too large.";
    case kWebStartFailed:
      return "Unable to start the transfer.  Try again later";
    default:
      return "Unknown error";
  }
}

int WebDownload::GetState() const {
  if (exchange_ != nullptr) {
    switch (exchange_->GetState()) {
      case HttpExchange::State::Receiving:
        return kWebReceiving;
      case HttpExchange::State::Done:
        return kWebDone;
      default:
        return kWebConnecting;
    }
  }
  return worker_ != nullptr ? worker_->state.load(std::memory_order_acquire) : kWebConnecting;
}

const char* WebDownload::GetData() const {
  // Done is read with acquire, so everything the thread wrote before it is seen here.
  if (GetState() != kWebDone) return "";
  if (exchange_ != nullptr) return exchange_->Body().c_str();
  return worker_->response.Body().data();
}

int WebDownload::GetDataSize() const {
  if (GetState() != kWebDone) return 0;
  if (exchange_ != nullptr) return static_cast<int>(exchange_->Body().size());
  return static_cast<int>(worker_->response.Body().size() - 1);
}

void WebDownload::Cancel() {
  startError_ = kWebNoError;
  exchange_.reset();
  WebDownloadWorker* worker = std::exchange(worker_, nullptr);
  if (worker == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(worker->lock);
    if (worker->runFlag == 1) {
      // The thread deletes it once its step returns, which the interrupt makes at once.
      worker->runFlag = 2;
      worker->socket.Interrupt();
      return;
    }
  }
  delete worker;
}

bool WaitForWebTransfers(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  while (liveThreads.load(std::memory_order_acquire) > 0) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::string UrlEncode(const void* data, std::size_t length) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string encoded;
  encoded.reserve(length * 3);
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char byte = bytes[i];
    if (IsAsciiLetterOrDigit(byte)) {
      encoded += static_cast<char>(byte);
    } else if (byte == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string BuildRequest(std::string_view host, std::string_view path, std::string_view form) {
  std::string request = form.empty() ? "GET /" : "POST /";
  request += path;
  request += " HTTP/1.0\r\nAccept: */*\r\nHost: ";
  request += host;
  request += "\r\n";
  if (!form.empty()) {
    // The length counts the CR LF that stands before the form in the body.
    request += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: ";
    request += std::to_string(form.size() + 2);
    request += "\r\n";
  }
  // The first CR LF ends the header block; the second is the start of the body.
  request += "\r\n\r\n";
  request += form;
  return request;
}

namespace web_download_testing {

int LiveWorkers() { return liveWorkers.load(std::memory_order_acquire); }
int LiveThreads() { return liveThreads.load(std::memory_order_acquire); }
std::size_t PeakBufferBytes() { return peakBufferBytes.load(std::memory_order_relaxed); }
void ResetPeakBufferBytes() { peakBufferBytes.store(0, std::memory_order_relaxed); }
void FailThreadStarts(bool fail) { failThreadStarts.store(fail, std::memory_order_relaxed); }

}  // namespace web_download_testing

}  // namespace spellcrypt
