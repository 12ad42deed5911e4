#pragma once
// The one-file transfer: an abstract downloader with its request record, and the window it reports
// into. ERXferHTTP (ERXferHTTP.h) is the HTTP implementation.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "storage/Text.h"
#include "toolkit/ScopedHandle.h"

namespace DAVavador {

// What a transfer reports into. In the program it is the modal ProgressWindow of the shell, seen
// through a small adapter; tests record the calls. SetProgress and Finish come from the worker.
class TransferProgress {
 public:
  using Worker = DWORD(WINAPI*)(LPVOID argument);
  using CancelFunction = void (*)(LPVOID argument);

  virtual ~TransferProgress() = default;
  // Position of the progress bar, 0 to 100.
  virtual void SetProgress(int percent) = 0;
  // The worker's last act: closes the window as failed or not. Returns the worker's result, 0 when
  // it succeeded and 1 when it failed, as a download without a window of its own returns.
  virtual DWORD Finish(bool failed) = 0;
  // Shows the window titled with string `titleId` modally over `owner` and runs `worker` on a
  // worker thread; the window's Cancel calls `onCancel`. True when the worker reported success.
  virtual bool Run(HWND owner, UINT titleId, Worker worker, LPVOID argument, CancelFunction onCancel) = 0;
};

// How large a reply may grow, by what is fetched.
constexpr uint32_t kMaxDocumentBytes = 1u << 20;  // the version file, the news
constexpr uint32_t kMaxListBytes = 8u << 20;      // a search reply, a shared recipe
constexpr uint32_t kMaxInstallerBytes = 512u << 20;
// How long one step of a transfer (the opening with the reply's head, one block of the body) may
// take before the server counts as stalled.
constexpr uint32_t kStallMs = 20000;

// One transfer's request: where from, where to, how it went.
struct TransferRequest {
  WString remoteFolder;  // below the base address, without leading or trailing "/"; may be empty
  WString remoteFile;
  WString localPath;          // full path of the file to create or replace; empty: into `reply`
  uint32_t error = 0;         // system error code of the failed step, 0 when none
  uint32_t progressFrom = 0;  // the part of the progress bar this transfer may use, in percent
  uint32_t progressTo = 0;
  bool reportProgress = true;
  std::atomic<bool> cancelled{false};     // set by Cancel, from any thread
  bool ownWindow = false;                 // the transfer runs its own window and must finish it
  bool secure = false;                    // ask for TLS
  uint32_t maxBytes = kMaxDocumentBytes;  // a larger reply fails with ERROR_FILE_TOO_LARGE
  uint32_t stallMs = kStallMs;            // a slower step fails with ERROR_INTERNET_TIMEOUT
  WString agent = TXT("ERXferHTTP");      // the user agent the server sees
  std::string reply;                      // the reply's bytes, for a request without local path
};

class ERXfer {
 public:
  ERXfer() = default;
  virtual ~ERXfer() = 0;
  ERXfer(const ERXfer&) = delete;
  ERXfer& operator=(const ERXfer&) = delete;

  // Stops a running transfer at once, even while it waits for the server; callable from any thread.
  virtual void Cancel();
  // Fetches request.remoteFolder/remoteFile into request.localPath (into request.reply without
  // one), reporting into `window` (may be null) over fromPercent to toPercent of its bar. 0 for
  // success, 1 for failure; with own window set, the window's Finish result instead.
  virtual DWORD Download(TransferRequest& request, TransferProgress* window, uint32_t fromPercent,
                         uint32_t toPercent) = 0;
  // Closes the transfer's own window, if it runs one, as failed.
  virtual void Finish() = 0;

  TransferRequest& Request() { return request_; }
  const TransferRequest& Request() const { return request_; }

  // Clears the request: paths, error, progress range, cancelled, own window and reply. The limits
  // and the agent stay.
  void Reset();
  void SetRequest(const WString& remoteFile, const WString& localPath);
  // "folder/sub/file.ext": the folder is everything before the last "/", the file what follows.
  void SetRequestFromPath(const WString& remotePath, const WString& localPath);

  // Runs the download of the current request as the worker of `window` with the given title over
  // the whole bar; the window's Cancel cancels the transfer. True when it succeeded.
  bool RunWithWindow(TransferProgress& window, HWND owner, UINT titleId);

 protected:
  // Set by Cancel, cleared by Reset: a transfer waits on it besides the server.
  HANDLE CancelEvent() const { return cancelEvent_.Get(); }

  TransferProgress* window_ = nullptr;  // the window of the download running or last run

 private:
  static DWORD WINAPI RunWorker(LPVOID transfer);
  static void CancelWorker(LPVOID transfer);

  TransferRequest request_;
  ScopedHandle cancelEvent_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

}  // namespace DAVavador
