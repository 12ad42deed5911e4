#pragma once
// One HTTP reply read through WinINet, bounded: every blocking call runs on a thread of the reader's
// own, and the caller waits for it at most the stall time and no longer than until the cancel event
// is set. Closing a handle from another thread ends a blocking WinINet call on Windows but not under
// Wine, so the caller never depends on it: it closes the handles and goes, and a call it gave up on
// finishes on the reader's thread later, with nobody waiting for it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "storage/Text.h"

namespace DAVavador {

class HttpReader {
 public:
  static constexpr DWORD kBlockSize = 4096;
  static constexpr int kMaxRedirects = 10;

  // `cancel`: a manual-reset event that ends any wait once set. `stallMs`: how long one step (the
  // opening with the reply's head, one block of the body) may take.
  HttpReader(const WString& agent, HANDLE cancel, DWORD stallMs);
  ~HttpReader();
  HttpReader(const HttpReader&) = delete;
  HttpReader& operator=(const HttpReader&) = delete;

  // Opens `address` with `flags`, following redirects itself (kMaxRedirects at most); a status of
  // 400 or more fails. A reply opened before is closed once the new one is open.
  bool Open(const WString& address, DWORD flags);
  // A POST instead: the request for `path` on `host`, then its sending with `headers` and `body`.
  // The reply is read as an opened one's.
  bool OpenPost(const WString& host, uint16_t port, const WString& path, DWORD flags);
  bool Send(const WString& headers, std::string body);
  // The length the server announced; 0 when it announced none.
  uint64_t AnnouncedLength() const;
  // The size of the remote file: what InternetSetFilePointer finds, or else the announced length.
  uint32_t RemoteSize();
  // The next block of the body into Block(): kBlockSize bytes, fewer only at its end.
  bool ReadBlock(DWORD& got);
  const char* Block() const;
  // The rest of the body appended to `bytes`; more than `maxBytes` fails with ERROR_FILE_TOO_LARGE.
  bool ReadAll(std::string& bytes, uint32_t maxBytes);

  // The system error of the last failed step: ERROR_CANCELLED, ERROR_INTERNET_TIMEOUT for a stall,
  // ERROR_HTTP_REDIRECT_FAILED after too many redirects, or WinINet's own.
  DWORD Error() const { return error_; }

 private:
  struct Line;
  // Runs `step` on the reader's thread and waits for it; false with the error set when it failed,
  // stalled or was cancelled (the reader is then of no further use).
  bool Run(std::function<bool(Line&)> step);
  bool Fail(DWORD error);
  // Lets the thread go; the reader is of no further use.
  void Leave(bool stepRunning);

  std::shared_ptr<Line> line_;
  HANDLE cancel_;
  DWORD stallMs_;
  DWORD error_ = 0;
};

}  // namespace DAVavador
