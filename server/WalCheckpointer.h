#pragma once
// Copies an SQLite file's write-ahead log back into the file on a thread of its own. SQLite would do
// it inside the commit that fills the log, and that upload would wait for the disk; here no commit
// waits, and searches and uploads go on while the copy is made.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

class WalCheckpointer {
 public:
  // Takes over the checkpoints of `db`, a connection in WAL mode to the file at `path`, through a
  // connection of its own. `db` must outlive the checkpointer.
  WalCheckpointer(sqlite3* db, const std::string& path);
  ~WalCheckpointer();
  WalCheckpointer(const WalCheckpointer&) = delete;
  WalCheckpointer& operator=(const WalCheckpointer&) = delete;

 private:
  static int Committed(void* self, sqlite3* db, const char* name, int pages);
  void Run();

  sqlite3* const db_;
  sqlite3* own_ = nullptr;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool due_ = false;
  bool stopping_ = false;
  std::thread thread_;
};
