#include "net/ERXferHTTP.h"
#include "net/InternetHandle.h"

#include <wininet.h>

#include <utility>

#include "storage/Files.h"

namespace DAVavador {
namespace {

constexpr DWORD kMaxNarrowAddress = 4096;

bool Fail(TransferRequest& request, DWORD error) {
  request.error = error;
  return false;
}

HINTERNET OpenSession() {
  HINTERNET session = InternetOpenW(L"ERXferHTTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  return session ? session : InternetOpenA("ERXferHTTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

HINTERNET OpenAddress(HINTERNET session, const WString& address, DWORD flags) {
  HINTERNET url = InternetOpenUrlW(session, address.c_str(), nullptr, 0, flags, 0);
  if (url) return url;
  char narrow[kMaxNarrowAddress] = {};
  WideCharToMultiByte(CP_ACP, 0, address.c_str(), -1, narrow, int(sizeof narrow) - 1, nullptr, nullptr);
  return InternetOpenUrlA(session, narrow, nullptr, 0, flags, 0);
}

// A server's error page is no file: statuses from 400 on fail the transfer. Addresses that are not
// HTTP have no status and pass.
bool ServerFound(HINTERNET url, TransferRequest& request) {
  DWORD status = 0;
  DWORD length = sizeof status;
  if (!HttpQueryInfoW(url, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr))
    return true;
  if (status < 400) return true;
  return Fail(request,
              status == 404 || status == 410 ? ERROR_FILE_NOT_FOUND : ERROR_HTTP_INVALID_SERVER_RESPONSE);
}

// The size of the remote file. WinINet builds that cannot seek an HTTP response answer
// INVALID_SET_FILE_POINTER; the length the server announced serves then (0 when it gave none).
uint32_t RemoteSize(HINTERNET url) {
  DWORD size = InternetSetFilePointer(url, 0, nullptr, FILE_END, 0);
  if (size != INVALID_SET_FILE_POINTER) return size;
  DWORD length = sizeof size;
  if (!HttpQueryInfoW(url, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &size, &length, nullptr))
    return 0;
  return size;
}

// Fills the block unless the data ends first, so that a short block always means the end.
bool ReadBlock(HINTERNET url, char* block, DWORD size, DWORD& got) {
  got = 0;
  while (got < size) {
    DWORD read = 0;
    if (!InternetReadFile(url, block + got, size - got, &read)) return false;
    if (read == 0) break;
    got += read;
  }
  return true;
}

}  // namespace

// Maps a transfer's own 0 to 100 onto its part of the window's bar.
class ERXferHTTP::Progress {
 public:
  Progress(TransferProgress* window, const TransferRequest& request, uint32_t from, uint32_t to)
      : window_(request.reportProgress ? window : nullptr), from_(from), to_(to) {}

  void Report(uint32_t percent) {
    if (window_) window_->SetProgress(int(int64_t(from_) + (int64_t(to_) - from_) * percent / 100));
  }

 private:
  TransferProgress* window_;
  uint32_t from_;
  uint32_t to_;
};

WString TransferAddress(const WString& base, const WString& folder, const WString& file) {
  WString address = base;
  if (address.empty() || address.back() != '/') address += '/';
  address += folder;
  if (address.back() != '/') address += '/';
  return address + file;
}

ERXferHTTP::ERXferHTTP(WString baseAddress) : baseAddress_(std::move(baseAddress)) {}

ERXferHTTP::~ERXferHTTP() = default;

DWORD ERXferHTTP::Download(TransferRequest& request, TransferProgress* window, uint32_t fromPercent,
                           uint32_t toPercent) {
  window_ = window;
  Progress progress(window, request, fromPercent, toPercent);
  bool succeeded = Transfer(request, progress);
  progress.Report(100);
  if (request.ownWindow && window) return window->Finish(!succeeded);
  return succeeded ? 0 : 1;
}

void ERXferHTTP::Finish() {
  if (Request().ownWindow && window_) window_->Finish(true);
}

bool ERXferHTTP::Transfer(TransferRequest& request, Progress& progress) {
  progress.Report(0);
  DWORD attempt = InternetAttemptConnect(0);
  if (attempt != ERROR_SUCCESS) return Fail(request, attempt);
  InternetHandle session(OpenSession());
  if (!session) return Fail(request, GetLastError());
  if (request.cancelled) return false;
  progress.Report(5);

  WString address = TransferAddress(baseAddress_, request.remoteFolder, request.remoteFile);
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI | (request.secure ? INTERNET_FLAG_SECURE : 0);
  // The first opening tells the size; the file is then read from a second one that bypasses the cache.
  InternetHandle sizing(OpenAddress(session.Get(), address, flags));
  if (!sizing) return Fail(request, GetLastError());
  if (!ServerFound(sizing.Get(), request) || request.cancelled) return false;
  progress.Report(10);
  uint32_t size = RemoteSize(sizing.Get());
  if (request.maxBytes && size > request.maxBytes) return Fail(request, ERROR_FILE_TOO_LARGE);
  progress.Report(15);
  InternetHandle url(OpenAddress(session.Get(), address, flags | INTERNET_FLAG_NO_CACHE_WRITE));
  DWORD openError = GetLastError();
  sizing.Reset();
  if (!url) return Fail(request, openError);
  if (request.cancelled) return false;
  progress.Report(20);
  return Receive(url.Get(), size, request, progress);
}

bool ERXferHTTP::Receive(void* url, uint32_t size, TransferRequest& request, Progress& progress) {
  if (size == 0) return false;  // nothing to receive: no temporary file is left behind
  FileHandle temporary(request.localPath + TXT(".erxfer"));
  if (!temporary.OpenWrite()) return Fail(request, temporary.lastError);
  uint32_t done = 0;
  uint32_t reported = 20;
  while (done < size && !request.cancelled) {
    DWORD got = 0;
    bool ok = ReadBlock(url, block_, kBlockSize, got) || Fail(request, GetLastError());
    ok = ok && (temporary.Write(block_, got) || Fail(request, temporary.lastError));
    done += got;
    if (ok && got == kBlockSize && done < size) {
      const uint32_t percent = uint32_t(95 - uint64_t(70) * (size - done) / size);
      if (percent != reported) progress.Report(reported = percent);
      continue;
    }
    // The last block: the file is complete only with every byte the server announced, and then it
    // takes the target's place in one step, so an old target stays until the new one is whole.
    if (ok && done != size) Fail(request, ERROR_INTERNET_CONNECTION_RESET);
    ok = ok && done == size && (temporary.Flush() || Fail(request, temporary.lastError));
    temporary.Close();
    if (ok && (MoveFileOver(temporary.path, request.localPath) || Fail(request, GetLastError()))) return true;
    DeleteFileAt(temporary.path);
    return false;
  }
  return false;
}

}  // namespace DAVavador
