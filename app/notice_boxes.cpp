// Message boxes shown as notices.
#include "app/notice_boxes.h"

#include <mutex>
#include <string>
#include <vector>

#include "base/log.h"
#include "ui/menus/screen_yes_no.h"

namespace spellcrypt {

namespace {

struct Queue {
  std::mutex lock;
  std::vector<std::string> texts;
};

Queue& Pending() {
  static Queue queue;
  return queue;
}

bool QueueNotice(const char* caption, const char* text, MessageBoxIcon icon) {
  (void)caption;  // the popup has no title bar; the log line keeps the caption
  (void)icon;
  Queue& queue = Pending();
  std::lock_guard<std::mutex> guard(queue.lock);
  queue.texts.emplace_back(text != nullptr ? text : "");
  return true;
}

}  // namespace

void RouteBoxesToNotices(bool on) {
  SetMessageBoxRoute(on ? &QueueNotice : nullptr);
  if (!on) {
    Queue& queue = Pending();
    std::lock_guard<std::mutex> guard(queue.lock);
    queue.texts.clear();
  }
}

void OpenQueuedNotices() {
  std::vector<std::string> texts;
  {
    Queue& queue = Pending();
    std::lock_guard<std::mutex> guard(queue.lock);
    texts.swap(queue.texts);
  }
  for (const std::string& text : texts) {
    if (!OpenNotice(text.c_str())) LogError("Unable to show the box \"%s\".", text.c_str());
  }
}

}  // namespace spellcrypt
