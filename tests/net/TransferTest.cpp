#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <commctrl.h>

#include "app/ProgressWindow.h"
#include "net/ERXferHTTP.h"
#include "net/TransferWindow.h"
#include "resource.h"
#include "storage/StorageTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScratchFolder.h"
#include "toolkit/ERApp.h"
#include "toolkit/ScopedHandle.h"

using DAVavador::ERXferHTTP;
using DAVavador::TransferAddress;
using DAVavador::TransferProgress;

namespace {

// Stands in for the progress window: records what the transfer reports, and runs a worker on a
// thread of its own while the calling thread waits, as the modal window does.
class RecordingProgress : public TransferProgress {
 public:
  void SetProgress(int percent) override {
    std::function<void(int)> observer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      percents_.push_back(percent);
      observer = onProgress;
    }
    if (observer) observer(percent);
  }
  DWORD Finish(bool failed) override {
    std::lock_guard<std::mutex> lock(mutex_);
    finishes_.push_back(failed);
    return failed ? 1 : 0;
  }
  bool Run(HWND, UINT titleId, Worker worker, LPVOID argument, CancelFunction onCancel) override {
    title = titleId;
    cancel = [onCancel, argument] { onCancel(argument); };
    std::thread thread([&] { worker(argument); });
    if (whileRunning) whileRunning();
    thread.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return !finishes_.empty() && !finishes_.back();
  }

  std::vector<int> Percents() {
    std::lock_guard<std::mutex> lock(mutex_);
    return percents_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    percents_.clear();
    finishes_.clear();
  }
  std::vector<bool> Finishes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return finishes_;
  }

  std::function<void(int)> onProgress;  // called on the worker thread
  std::function<void()> whileRunning;   // called on the "interface" thread while the worker runs
  std::function<void()> cancel;         // the window's Cancel button
  UINT title = 0;

 private:
  std::mutex mutex_;
  std::vector<int> percents_;
  std::vector<bool> finishes_;
};

// A manual-reset event for handing a moment from the worker to the test.
class Event {
 public:
  void Set() { SetEvent(handle_.Get()); }
  bool Wait() { return WaitForSingleObject(handle_.Get(), 10000) == WAIT_OBJECT_0; }

 private:
  DAVavador::ScopedHandle handle_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

std::string Bytes(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 12345;
  for (char& byte : bytes) byte = char((state = state * 1103515245 + 12345) >> 16);
  return bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::wstring& path) {
  return Exists(path) ? storage_test::ReadFile(path) : "<missing>";
}

void WriteAll(const std::wstring& path, const std::string& contents) {
  ASSERT_TRUE(storage_test::WriteFile(path, contents));
}

class Transfer : public ::testing::Test {
 protected:
  std::wstring Target() const { return folder_ / L"file.bin"; }
  std::wstring Temporary() const { return Target() + L".erxfer"; }

  // Serves `body` as /mirepan/file.bin, slowly when a delay is given.
  void ServeFile(const std::string& body, unsigned blockDelayMs = 0) {
    LoopbackHttpServer::Reply reply;
    reply.body = body;
    reply.blockSize = blockDelayMs ? ERXferHTTP::kBlockSize : 0;
    reply.blockDelayMs = blockDelayMs;
    server_.Serve("/mirepan/file.bin", reply);
  }

  DWORD Download(uint32_t from = 0, uint32_t to = 100) {
    transfer_.SetRequest(L"file.bin", Target());
    return transfer_.Download(transfer_.Request(), &progress_, from, to);
  }

  test_support::ScratchFolder folder_;
  LoopbackHttpServer server_;
  ERXferHTTP transfer_{server_.Url("/mirepan/")};
  RecordingProgress progress_;
};

// Opening, learning the size and each block move the bar within the caller's range; the file
// takes its place whole. An empty file is a failure.
TEST_F(Transfer, ProgressFollowsTheBlocksAndTheFileTakesItsPlaceWhole) {
  struct Case {
    size_t size;
    uint32_t from, to;
    DWORD result;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {8192, 0, 100, 0, {0, 5, 10, 15, 20, 60, 100}},
      {100, 0, 100, 0, {0, 5, 10, 15, 20, 100}},
      {10 * 4096, 20, 95, 0, {20, 23, 27, 31, 35, 44, 49, 54, 59, 65, 70, 75, 80, 86, 95}},
      {0, 0, 100, 1, {0, 5, 10, 15, 20, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    DeleteFileW(Target().c_str());
    progress_.Clear();
    const size_t requests = server_.RequestCount("/mirepan/file.bin");
    const std::string body = Bytes(c.size);
    ServeFile(body);
    EXPECT_EQ(Download(c.from, c.to), c.result);
    EXPECT_EQ(ReadAll(Target()), c.result == 0 ? body : "<missing>");
    EXPECT_FALSE(Exists(Temporary()));
    EXPECT_EQ(progress_.Percents(), c.percents);
    if (c.result == 0) {
      EXPECT_EQ(transfer_.Request().error, 0u);
      EXPECT_EQ(server_.RequestCount("/mirepan/file.bin") - requests, 2u)
          << "one to learn the size, one to read";
    }
  }
}

TEST_F(Transfer, ProgressIsReportedOnlyWhenThePercentageChanges) {
  std::string body = Bytes(300 * 4096 + 7);
  ServeFile(body);
  EXPECT_EQ(Download(), 0u);
  EXPECT_EQ(ReadAll(Target()), body);
  std::vector<int> percents = progress_.Percents();
  ASSERT_GT(percents.size(), 60u);
  for (size_t i = 1; i < percents.size(); ++i) EXPECT_LT(percents[i - 1], percents[i]) << i;
}

TEST_F(Transfer, AServerThatStopsMidTransferFailsAndLeavesTheOldTarget) {
  struct Case {
    const char* what;
    size_t announced, sent;
  };
  const Case cases[] = {{"cut inside a block", 10000, 5000},
                        {"cut at a block's end", 8192, 4096},
                        {"cut before the first byte", 100, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteAll(Target(), "the old file");
    LoopbackHttpServer::Reply reply;
    reply.body = Bytes(c.sent);
    reply.announcedLength = c.announced;
    server_.Serve("/mirepan/file.bin", reply);
    EXPECT_EQ(Download(), 1u);
    EXPECT_NE(transfer_.Request().error, 0u);
    EXPECT_TRUE(ReadAll(Target()) == "the old file");
    EXPECT_FALSE(Exists(Temporary()));
  }
}

TEST_F(Transfer, AnExistingFileIsReplacedOnlyOnceTheNewOneIsComplete) {
  WriteAll(Target(), "the old file");
  std::string body = Bytes(10 * 4096);
  ServeFile(body, 20);
  std::string duringTransfer;
  progress_.onProgress = [&](int percent) {
    if (percent == 60) duringTransfer = ReadAll(Target());
  };
  EXPECT_EQ(Download(), 0u);
  EXPECT_EQ(duringTransfer, "the old file");
  EXPECT_EQ(ReadAll(Target()), body);
  EXPECT_FALSE(Exists(Temporary()));
  EXPECT_FALSE(Exists(Target() + L".rename"));
}

TEST_F(Transfer, CancellingLeavesTheTargetUntouched) {
  WriteAll(Target(), "the old file");
  ServeFile(Bytes(40 * 4096), 50);
  Event started;
  progress_.onProgress = [&](int percent) {
    if (percent > 20) started.Set();
  };
  DWORD result = 0;
  std::thread worker([&] { result = Download(); });
  EXPECT_TRUE(started.Wait());
  transfer_.Cancel();
  worker.join();
  EXPECT_EQ(result, 1u);
  EXPECT_TRUE(transfer_.Request().cancelled);
  EXPECT_EQ(ReadAll(Target()), "the old file");
  EXPECT_FALSE(Exists(Target() + L".rename"));
  // What had arrived stays in the temporary file; the next download replaces it.
  std::string partial = ReadAll(Temporary());
  EXPECT_GE(partial.size(), 4096u);
  EXPECT_LT(partial.size(), 40u * 4096);
  EXPECT_EQ(progress_.Percents().back(), 100);
}

TEST_F(Transfer, ACancelBeforeTheFirstOpeningSendsNoRequest) {
  ServeFile(Bytes(100));
  transfer_.SetRequest(L"file.bin", Target());
  transfer_.Cancel();
  EXPECT_EQ(transfer_.Download(transfer_.Request(), &progress_, 0, 100), 1u);
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_FALSE(Exists(Target()));
  EXPECT_FALSE(Exists(Temporary()));
  EXPECT_EQ(progress_.Percents(), (std::vector<int>{0, 100}));
}

TEST_F(Transfer, AMissingRemoteFileFailsWithoutWritingTheErrorPage) {
  WriteAll(Target(), "the old file");
  EXPECT_EQ(Download(), 1u);
  EXPECT_EQ(transfer_.Request().error, DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ReadAll(Target()), "the old file");
  EXPECT_FALSE(Exists(Temporary()));
  EXPECT_EQ(progress_.Percents(), (std::vector<int>{0, 5, 100}));
}

TEST_F(Transfer, AServerErrorFails) {
  LoopbackHttpServer::Reply reply;
  reply.status = 500;
  reply.body = "broken";
  server_.Serve("/mirepan/file.bin", reply);
  EXPECT_EQ(Download(), 1u);
  EXPECT_NE(transfer_.Request().error, 0u);
  EXPECT_FALSE(Exists(Target()));
}

TEST_F(Transfer, AServerThatDoesNotAnswerFailsWithItsError) {
  server_.Stop();
  WriteAll(Target(), "the old file");
  EXPECT_EQ(Download(), 1u);
  EXPECT_NE(transfer_.Request().error, 0u);
  EXPECT_EQ(ReadAll(Target()), "the old file");
  EXPECT_FALSE(Exists(Temporary()));
}

TEST_F(Transfer, ATargetThatCannotBeReplacedFailsAndTheTemporaryFileGoes) {
  CreateDirectoryW(Target().c_str(), nullptr);
  ServeFile(Bytes(100));
  EXPECT_EQ(Download(), 1u);
  EXPECT_NE(transfer_.Request().error, 0u);
  EXPECT_FALSE(Exists(Temporary()));
  EXPECT_TRUE(GetFileAttributesW(Target().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Transfer, TheRequestPathIsJoinedToTheBaseWithOneSlash) {
  server_.Serve("/mirepan/recipes/today/file.bin", Bytes(10));
  server_.Serve("/mirepan/file.bin", Bytes(20));
  for (const std::string base : {"/mirepan", "/mirepan/"}) {
    ERXferHTTP transfer(server_.Url(base));
    transfer.SetRequestFromPath(L"recipes/today/file.bin", Target());
    EXPECT_EQ(transfer.Download(transfer.Request(), nullptr, 0, 100), 0u) << base;
    EXPECT_EQ(ReadAll(Target()).size(), 10u);
    transfer.SetRequest(L"file.bin", Target());
    EXPECT_EQ(transfer.Download(transfer.Request(), nullptr, 0, 100), 0u) << base;
    EXPECT_EQ(ReadAll(Target()).size(), 20u);
  }
  EXPECT_EQ(server_.RequestCount("/mirepan/recipes/today/file.bin"), 4u);
  EXPECT_EQ(server_.RequestCount("/mirepan/file.bin"), 4u);
}

TEST_F(Transfer, WithItsOwnWindowTheTransferFinishesIt) {
  ServeFile(Bytes(100));
  transfer_.SetRequest(L"file.bin", Target());
  EXPECT_TRUE(transfer_.RunWithWindow(progress_, nullptr, 4904));
  EXPECT_EQ(progress_.title, 4904u);
  EXPECT_EQ(progress_.Finishes(), std::vector<bool>{false});
  EXPECT_TRUE(transfer_.Request().ownWindow);
  EXPECT_EQ(progress_.Percents().back(), 100);

  transfer_.SetRequest(L"missing.bin", Target());
  EXPECT_FALSE(transfer_.RunWithWindow(progress_, nullptr, 4904));
  EXPECT_EQ(progress_.Finishes(), (std::vector<bool>{false, true}));
  transfer_.Finish();
  EXPECT_EQ(progress_.Finishes(), (std::vector<bool>{false, true, true}));
}

TEST_F(Transfer, TheWindowsCancelButtonCancelsTheTransfer) {
  ServeFile(Bytes(40 * 4096), 50);
  Event started;
  progress_.onProgress = [&](int percent) {
    if (percent > 20) started.Set();
  };
  progress_.whileRunning = [&] {
    EXPECT_TRUE(started.Wait());
    progress_.cancel();
  };
  transfer_.SetRequest(L"file.bin", Target());
  EXPECT_FALSE(transfer_.RunWithWindow(progress_, nullptr, 20705));
  EXPECT_EQ(progress_.Finishes(), std::vector<bool>{true});
  EXPECT_FALSE(Exists(Target()));
}

TEST_F(Transfer, WithoutAWindowOrProgressReportsTheTransferStillRuns) {
  ServeFile(Bytes(5000));
  transfer_.SetRequest(L"file.bin", Target());
  transfer_.Request().reportProgress = false;
  EXPECT_EQ(transfer_.Download(transfer_.Request(), &progress_, 0, 100), 0u);
  EXPECT_TRUE(progress_.Percents().empty());
  EXPECT_EQ(ReadAll(Target()).size(), 5000u);
}

// The same transfers behind the shell's real progress window.
class WindowedTransfer : public Transfer {
 protected:
  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  ProgressWindow window_{app_};
  DAVavador::TransferWindow transferWindow_{window_};
};

TEST_F(WindowedTransfer, TheWindowRunsTheDownloadAndClosesWithItsOutcome) {
  std::string body = Bytes(10 * 4096);
  ServeFile(body);
  transfer_.SetRequest(L"file.bin", Target());
  EXPECT_TRUE(transfer_.RunWithWindow(transferWindow_, nullptr, IDS_DISPLAY_NAME));
  EXPECT_EQ(ReadAll(Target()), body);
  transfer_.SetRequest(L"missing.bin", Target());
  EXPECT_FALSE(transfer_.RunWithWindow(transferWindow_, nullptr, IDS_DISPLAY_NAME));
  EXPECT_EQ(ReadAll(Target()), body);
}

TEST_F(WindowedTransfer, TheWindowsCancelButtonStopsTheDownload) {
  WriteAll(Target(), "the old file");
  ServeFile(Bytes(40 * 4096), 50);
  std::thread user([this] {
    for (int tries = 0; tries < 1000; Sleep(10), ++tries) {
      HWND dialog = window_.Dialog();
      if (dialog && SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0) > 20) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
      }
    }
  });
  transfer_.SetRequest(L"file.bin", Target());
  EXPECT_FALSE(transfer_.RunWithWindow(transferWindow_, nullptr, IDS_DISPLAY_NAME));
  user.join();
  EXPECT_TRUE(transfer_.Request().cancelled);
  EXPECT_EQ(ReadAll(Target()), "the old file");
}

TEST(TransferRequest, ResetAndTheTwoWaysOfSettingIt) {
  ERXferHTTP transfer(L"http://127.0.0.1:1/mirepan/");
  transfer.Request().error = 5;
  transfer.Request().ownWindow = true;
  transfer.Cancel();
  transfer.SetRequestFromPath(L"recipes/2024/list.xml", L"C:\\data\\list.xml");
  EXPECT_EQ(transfer.Request().remoteFolder, L"recipes/2024");
  EXPECT_EQ(transfer.Request().remoteFile, L"list.xml");
  EXPECT_EQ(transfer.Request().localPath, L"C:\\data\\list.xml");
  EXPECT_EQ(transfer.Request().error, 0u);
  EXPECT_FALSE(transfer.Request().cancelled);
  EXPECT_FALSE(transfer.Request().ownWindow);
  EXPECT_TRUE(transfer.Request().reportProgress);

  transfer.SetRequestFromPath(L"list.xml", L"x");
  EXPECT_EQ(transfer.Request().remoteFolder, L"");
  EXPECT_EQ(transfer.Request().remoteFile, L"list.xml");
  transfer.SetRequest(L"Mirepan.ver", L"y");
  EXPECT_EQ(transfer.Request().remoteFolder, L"");
  EXPECT_EQ(transfer.Request().remoteFile, L"Mirepan.ver");
  EXPECT_EQ(transfer.Request().localPath, L"y");
}

TEST(TransferAddress, OneSlashBeforeTheFolderAndBeforeTheFile) {
  EXPECT_EQ(TransferAddress(L"http://h/mirepan/", L"", L"f.txt"), L"http://h/mirepan/f.txt");
  EXPECT_EQ(TransferAddress(L"http://h/mirepan", L"", L"f.txt"), L"http://h/mirepan/f.txt");
  EXPECT_EQ(TransferAddress(L"http://h/mirepan/", L"a/b", L"f.txt"), L"http://h/mirepan/a/b/f.txt");
  EXPECT_EQ(TransferAddress(L"http://h/mirepan", L"a", L"f.txt"), L"http://h/mirepan/a/f.txt");
}

}  // namespace
