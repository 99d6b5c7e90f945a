// The group commit every store shares: whoever finds no transaction running writes everything
// that is waiting in one, the others wait for it.
#include "server/score_store.h"

namespace spellcrypt::server {

bool ScoreStore::Submit(const Submission& submission, Placement& placement) {
  Waiting mine;
  mine.pending.submission = &submission;
  std::unique_lock<std::mutex> hold(queueLock_);
  queue_.push_back(&mine);
  while (!mine.done) {
    if (writing_) {
      batchDone_.wait(hold);
      continue;
    }
    writing_ = true;
    std::vector<Waiting*> batch;
    batch.swap(queue_);
    hold.unlock();
    std::vector<Pending*> pending;
    pending.reserve(batch.size());
    for (Waiting* waiting : batch) pending.push_back(&waiting->pending);
    const bool stored = WriteBatch(pending);
    hold.lock();
    for (Waiting* waiting : batch) {
      waiting->stored = stored;
      waiting->done = true;
    }
    writing_ = false;
    batchDone_.notify_all();
  }
  if (mine.stored) placement = mine.pending.placement;
  return mine.stored;
}

}  // namespace spellcrypt::server
