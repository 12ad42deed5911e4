// The data lock: re-entrant on its own thread, exclusive across threads, so background saves
// requested one after the other write one after the other.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/DataLockGuard.h"
#include "toolkit/ERApp.h"

namespace {

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

// The holder re-enters while other threads wait for the last release.
TEST(DataLockTest, HolderReentersOthersWaitForTheLastReleaseAndTwoBackgroundSavesWriteOneAfterTheOther) {
  const DAVavador::ERApp app(GetModuleHandleW(nullptr));  // the lock is the current application's
  std::string file;
  Save first{'A', &file}, second{'B', &file};
  const auto started = [](const Save& save, DWORD wait) {
    return WaitForSingleObject(save.started, wait) == WAIT_OBJECT_0;
  };
  {
    DataLockGuard outer;
    {
      DataLockGuard inner;  // the same thread takes it again without blocking
      ASSERT_TRUE(StartBackgroundThread(Save::Run, &first));
      EXPECT_FALSE(started(first, 100));
    }
    EXPECT_FALSE(started(first, 100));  // one release of two
  }
  ASSERT_TRUE(started(first, 5000));
  ASSERT_TRUE(StartBackgroundThread(Save::Run, &second));
  HANDLE both[] = {first.done, second.done};
  ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(file, "A1A2A3A4A5B1B2B3B4B5");
}

}  // namespace
