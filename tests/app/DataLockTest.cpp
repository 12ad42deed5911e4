// The data lock: re-entrant on its own thread, exclusive across threads, so background saves
// requested one after the other write one after the other.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/DataLockGuard.h"
#include "toolkit/ERApp.h"

namespace {

class DataLockTest : public ::testing::Test {
 protected:
  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
};

struct Waiter {
  HANDLE locked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Waiter() { CloseHandle(locked); }
  static DWORD WINAPI Take(void* arg) {
    DataLockGuard guard;
    SetEvent(static_cast<Waiter*>(arg)->locked);
    return 0;
  }
  bool Holds(DWORD wait) const { return WaitForSingleObject(locked, wait) == WAIT_OBJECT_0; }
};

TEST_F(DataLockTest, HolderReentersWhileOtherThreadsWaitForTheLastRelease) {
  Waiter other;
  {
    DataLockGuard outer;
    {
      DataLockGuard inner;  // the same thread takes it again without blocking
      ASSERT_TRUE(StartBackgroundThread(Waiter::Take, &other));
      EXPECT_FALSE(other.Holds(100));
    }
    EXPECT_FALSE(other.Holds(100));  // one release of two
  }
  EXPECT_TRUE(other.Holds(5000));
}

// A stand-in for a catalog save: writes its records one by one under the lock, slowly.
struct Save {
  char name;
  std::string* file;
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Save() {
    CloseHandle(started);
    CloseHandle(done);
  }
  static DWORD WINAPI Run(void* arg) {
    auto* save = static_cast<Save*>(arg);
    {
      DataLockGuard guard;
      SetEvent(save->started);
      for (char record = '1'; record <= '5'; ++record) {
        *save->file += save->name;
        *save->file += record;
        Sleep(5);
      }
    }
    SetEvent(save->done);
    return 0;
  }
};

TEST_F(DataLockTest, TwoBackgroundSavesWriteOneAfterTheOther) {
  std::string file;
  Save first{'A', &file}, second{'B', &file};
  ASSERT_TRUE(StartBackgroundThread(Save::Run, &first));
  ASSERT_EQ(WaitForSingleObject(first.started, 5000), WAIT_OBJECT_0);
  ASSERT_TRUE(StartBackgroundThread(Save::Run, &second));
  HANDLE both[] = {first.done, second.done};
  ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(file, "A1A2A3A4A5B1B2B3B4B5");
}

}  // namespace
