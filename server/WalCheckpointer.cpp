#include "server/WalCheckpointer.h"

#include <sqlite3.h>

#include <chrono>

namespace {

constexpr int kLogPages = 1000;  // SQLite's own threshold: a log of about 4 MB is copied back
constexpr std::chrono::seconds kAtLeastEvery(10);

}  // namespace

WalCheckpointer::WalCheckpointer(sqlite3* db, const std::string& path) : db_(db) {
  if (sqlite3_open_v2(path.c_str(), &own_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(own_);
    own_ = nullptr;
    return;  // SQLite's own checkpoints stay on
  }
  sqlite3_busy_timeout(own_, 5000);
  sqlite3_wal_hook(db_, &WalCheckpointer::Committed, this);  // replaces SQLite's automatic checkpoints
  thread_ = std::thread([this] { Run(); });
}

WalCheckpointer::~WalCheckpointer() {
  if (!own_) return;
  sqlite3_wal_autocheckpoint(db_, kLogPages);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
  sqlite3_close(own_);
}

// Called by SQLite after each commit, with the pages now in the log.
int WalCheckpointer::Committed(void* self, sqlite3*, const char*, int pages) {
  auto* checkpointer = static_cast<WalCheckpointer*>(self);
  if (pages >= kLogPages) {
    std::lock_guard<std::mutex> lock(checkpointer->mutex_);
    checkpointer->due_ = true;
    checkpointer->wake_.notify_one();
  }
  return SQLITE_OK;
}

void WalCheckpointer::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, kAtLeastEvery, [this] { return due_ || stopping_; });
    due_ = false;
    lock.unlock();
    // A passive checkpoint copies what no reader still needs and never blocks a writer.
    sqlite3_wal_checkpoint_v2(own_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    lock.lock();
  }
}
