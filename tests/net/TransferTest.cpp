#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <commctrl.h>
#include <wininet.h>

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
using DAVavador::kMaxListBytes;
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
  bool Run(HWND, UINT titleId, Worker worker, LPVOID argument, CancelFunction) override {
    title = titleId;
    std::thread thread([&] { worker(argument); });
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
  Transfer() { transfer_.Request().maxBytes = kMaxListBytes; }

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

  // Serves a file of forty blocks slowly; `started` is set once a fifth of it has arrived.
  void ServeSlowly(Event& started) {
    ServeFile(Bytes(40 * 4096), 50);
    progress_.onProgress = [&started](int percent) {
      if (percent > 20) started.Set();
    };
  }

  DWORD Download(uint32_t from = 0, uint32_t to = 100) {
    transfer_.SetRequest(L"file.bin", Target());
    return transfer_.Download(transfer_.Request(), &progress_, from, to);
  }
  // The same on a thread of its own, into the target or, without one, into the request's reply.
  std::future<DWORD> StartDownload(bool toFile) {
    transfer_.SetRequest(L"file.bin", toFile ? Target() : std::wstring());
    return std::async(std::launch::async,
                      [this] { return transfer_.Download(transfer_.Request(), &progress_, 0, 100); });
  }
  // Whether the server has seen `count` requests for the file within a few seconds.
  bool ServerSaw(size_t count) const {
    for (int tries = 0; tries < 500 && server_.RequestCount("/mirepan/file.bin") < count; ++tries) Sleep(10);
    return server_.RequestCount("/mirepan/file.bin") >= count;
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
      EXPECT_EQ(server_.RequestCount("/mirepan/file.bin") - requests, 1u)
          << "a file that announces its length crosses the network once";
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

// Every way a download can fail leaves the old target as it was and no temporary file behind.
TEST_F(Transfer, AFailedDownloadLeavesTheOldTargetAndNoTemporaryFile) {
  const auto cut = [this](size_t announced, size_t sent) {
    LoopbackHttpServer::Reply reply;
    reply.body = Bytes(sent);
    reply.announcedLength = announced;
    server_.Serve("/mirepan/file.bin", reply);
  };
  struct Case {
    const char* what;
    std::function<void()> arrange;
    DWORD error;  // 0: any error
    std::vector<int> percents;
  };
  const Case cases[] = {
      {"missing remote file", [] {}, ERROR_FILE_NOT_FOUND, {0, 5, 100}},
      {"cut inside a block", [&] { cut(10000, 5000); }, 0, {}},
      {"cut at a block's end", [&] { cut(8192, 4096); }, 0, {}},
      {"cut before the first byte", [&] { cut(100, 0); }, 0, {}},
      {"server error",
       [this] {
         LoopbackHttpServer::Reply reply;
         reply.status = 500;
         reply.body = "broken";
         server_.Serve("/mirepan/file.bin", reply);
       },
       0,
       {}},
      {"server that does not answer", [this] { server_.Stop(); }, 0, {}},  // last: for good
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteAll(Target(), "the old file");
    progress_.Clear();
    c.arrange();
    EXPECT_EQ(Download(), 1u);
    EXPECT_TRUE(c.error ? transfer_.Request().error == c.error : transfer_.Request().error != 0);
    EXPECT_EQ(ReadAll(Target()), "the old file");
    EXPECT_FALSE(Exists(Temporary()));
    if (!c.percents.empty()) {
      EXPECT_EQ(progress_.Percents(), c.percents);
    }
  }
}

// A server that would keep the client forever, or send more than the request allows, ends the
// transfer by itself: into a file or into memory, nothing is left behind. A redirect is followed,
// a circle of them ten times at most.
TEST_F(Transfer, BadServersEndTheTransferWithinItsLimits) {
  using Reply = LoopbackHttpServer::Reply;
  Reply endless, huge, silent, moved = LoopbackHttpServer::Redirect("/mirepan/moved.bin");
  endless.endless = true;
  huge.fillBytes = uint64_t(300) << 20;
  silent.headDelayMs = LoopbackHttpServer::kMaxReplyMs;
  server_.Serve("/mirepan/moved.bin", "moved here");
  constexpr DWORD kAnyError = DWORD(-1);
  struct Case {
    const char* what;
    Reply reply;
    DWORD fileError, memoryError;  // ERROR_SUCCESS: the transfer works
    size_t requests;               // of the file, when it matters
  };
  const Case cases[] = {
      // A file of unknown size fails at once.
      {"endless body", endless, kAnyError, ERROR_FILE_TOO_LARGE, 0},
      {"300 MB", huge, ERROR_FILE_TOO_LARGE, ERROR_FILE_TOO_LARGE, 0},
      {"a byte every half second", LoopbackHttpServer::Drip(), ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_TIMEOUT,
       0},
      {"no answer at all", silent, ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_TIMEOUT, 0},
      {"redirects in a circle", LoopbackHttpServer::Redirect("/mirepan/file.bin"), ERROR_HTTP_REDIRECT_FAILED,
       ERROR_HTTP_REDIRECT_FAILED, 11},
      {"one redirect", moved, ERROR_SUCCESS, ERROR_SUCCESS, 0},
  };
  transfer_.Request().stallMs = 1000;
  for (const Case& c : cases) {
    for (bool toFile : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (toFile ? " into a file" : " into memory"));
      DeleteFileW(Target().c_str());
      server_.Serve("/mirepan/file.bin", c.reply);
      const size_t before = server_.RequestCount("/mirepan/file.bin");
      const DWORD error = toFile ? c.fileError : c.memoryError;
      EXPECT_EQ(StartDownload(toFile).get(), error == ERROR_SUCCESS ? 0u : 1u);
      if (error != kAnyError) {
        EXPECT_EQ(transfer_.Request().error, error);
      }
      const std::string arrived = toFile ? ReadAll(Target()) : transfer_.Request().reply;
      EXPECT_EQ(arrived, error == ERROR_SUCCESS ? "moved here" : toFile ? "<missing>" : "");
      EXPECT_FALSE(Exists(Temporary()));
      if (c.requests) {
        EXPECT_EQ(server_.RequestCount("/mirepan/file.bin") - before, c.requests);
      }
    }
  }
}

// Cancel ends a transfer at once, however long the server would keep it waiting: for the reply's
// head or for the rest of its body. The old target stays.
TEST_F(Transfer, CancelEndsATransferWhileTheServerKeepsItWaiting) {
  LoopbackHttpServer::Reply silent;
  silent.headDelayMs = LoopbackHttpServer::kMaxReplyMs;
  const std::pair<const char*, LoopbackHttpServer::Reply> servers[] = {
      {"no answer", silent}, {"dripping", LoopbackHttpServer::Drip()}};
  for (const auto& [what, reply] : servers) {
    for (bool toFile : {true, false}) {
      SCOPED_TRACE(std::string(what) + (toFile ? " into a file" : " into memory"));
      WriteAll(Target(), "the old file");
      server_.Serve("/mirepan/file.bin", reply);
      const size_t opened = server_.RequestCount("/mirepan/file.bin") + 1;
      std::future<DWORD> result = StartDownload(toFile);
      ASSERT_TRUE(ServerSaw(opened));
      Sleep(200);  // the client is waiting now
      transfer_.Cancel();
      ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready)
          << "the transfer went on after Cancel";
      EXPECT_EQ(result.get(), 1u);
      EXPECT_EQ(ReadAll(Target()), "the old file");
    }
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
  Event started;
  ServeSlowly(started);
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

TEST_F(Transfer, ATargetThatCannotBeReplacedFailsAndTheTemporaryFileGoes) {
  CreateDirectoryW(Target().c_str(), nullptr);
  ServeFile(Bytes(100));
  EXPECT_EQ(Download(), 1u);
  EXPECT_NE(transfer_.Request().error, 0u);
  EXPECT_FALSE(Exists(Temporary()));
  EXPECT_TRUE(GetFileAttributesW(Target().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
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

// The window's Cancel button stops the download, and so does a close of the program's main window
// (which closes once the window is gone).
TEST_F(WindowedTransfer, TheWindowsCancelAndTheMainWindowsCloseStopTheDownload) {
  WNDCLASSW type{};
  type.lpfnWndProc = [](HWND window, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    return msg == WM_CLOSE ? 0 : DefWindowProcW(window, msg, wp, lp);
  };
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"TransferTestMain";
  RegisterClassW(&type);
  const HWND main = CreateWindowExW(0, type.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                    nullptr, type.hInstance, nullptr);
  ASSERT_NE(main, nullptr);
  app_.SetMainWindow(main);
  for (bool byClose : {false, true}) {
    SCOPED_TRACE(byClose ? "main window closed" : "Cancel pressed");
    WriteAll(Target(), "the old file");
    ServeFile(Bytes(40 * 4096), 50);
    std::thread user([this, byClose, main] {
      for (int tries = 0; tries < 1000; Sleep(10), ++tries) {
        HWND dialog = window_.Dialog();
        if (dialog && SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0) > 20) {
          if (byClose)
            PostMessageW(main, WM_CLOSE, 0, 0);
          else
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
  app_.SetMainWindow(nullptr);
  DestroyWindow(main);
}

TEST(TransferRequest, ResetAndTheTwoWaysOfSettingIt) {
  ERXferHTTP transfer(L"http://127.0.0.1:1/mirepan/");
  const auto names = [&transfer] {
    const auto& request = transfer.Request();
    return std::vector<std::wstring>{request.remoteFolder, request.remoteFile, request.localPath};
  };
  transfer.Request().error = 5;
  transfer.Request().ownWindow = true;
  transfer.Cancel();
  transfer.SetRequestFromPath(L"recipes/2024/list.xml", L"C:\\data\\list.xml");
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"recipes/2024", L"list.xml", L"C:\\data\\list.xml"}));
  const auto& request = transfer.Request();
  EXPECT_EQ(std::tuple(request.error, request.cancelled.load(), request.ownWindow, request.reportProgress),
            std::tuple(0u, false, false, true));
  transfer.SetRequestFromPath(L"list.xml", L"x");
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"", L"list.xml", L"x"}));
  transfer.SetRequest(L"Mirepan.ver", L"y");
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"", L"Mirepan.ver", L"y"}));
}

TEST(TransferAddress, OneSlashBeforeTheFolderAndBeforeTheFile) {
  const wchar_t* const cases[][3] = {{L"http://h/mirepan/", L"", L"http://h/mirepan/f.txt"},
                                     {L"http://h/mirepan", L"", L"http://h/mirepan/f.txt"},
                                     {L"http://h/mirepan/", L"a/b", L"http://h/mirepan/a/b/f.txt"},
                                     {L"http://h/mirepan", L"a", L"http://h/mirepan/a/f.txt"}};
  for (const auto& c : cases) EXPECT_EQ(TransferAddress(c[0], c[1], L"f.txt"), c[2]);
}

}  // namespace
