#include "net/ERXferHTTP.h"

#include <wininet.h>

#include <utility>

#include "net/HttpReader.h"
#include "storage/Files.h"

namespace DAVavador {
namespace {

bool Fail(TransferRequest& request, DWORD error) {
  request.error = error;
  return false;
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
  const DWORD attempt = InternetAttemptConnect(0);
  if (attempt != ERROR_SUCCESS) return Fail(request, attempt);
  HttpReader reader(request.agent, CancelEvent(), request.stallMs);
  if (reader.Error()) return Fail(request, reader.Error());
  if (request.cancelled) return false;
  progress.Report(5);
  const WString address = TransferAddress(baseAddress_, request.remoteFolder, request.remoteFile);
  const DWORD flags =
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI | (request.secure ? INTERNET_FLAG_SECURE : 0);
  if (request.localPath.empty()) return ToMemory(reader, address, flags, request, progress);
  return ToFile(reader, address, flags, request, progress);
}

bool ERXferHTTP::ToMemory(HttpReader& reader, const WString& address, DWORD flags, TransferRequest& request,
                          Progress& progress) {
  if (!reader.Open(address, flags | INTERNET_FLAG_NO_CACHE_WRITE)) return Fail(request, reader.Error());
  progress.Report(20);
  if (reader.ReadAll(request.reply, request.maxBytes)) return true;
  request.reply.clear();
  return Fail(request, reader.Error());
}

bool ERXferHTTP::ToFile(HttpReader& reader, const WString& address, DWORD flags, TransferRequest& request,
                        Progress& progress) {
  // The first opening tells the size. A reply that announces its length is read from that opening,
  // so the file crosses the network once; one that does not is measured, then read from a second
  // opening that bypasses the cache.
  if (!reader.Open(address, flags)) return Fail(request, reader.Error());
  if (request.cancelled) return false;
  progress.Report(10);
  const uint64_t announced = reader.AnnouncedLength();
  if (announced > request.maxBytes) return Fail(request, ERROR_FILE_TOO_LARGE);
  const uint32_t size = announced ? static_cast<uint32_t>(announced) : reader.RemoteSize();
  if (reader.Error()) return Fail(request, reader.Error());
  if (size > request.maxBytes) return Fail(request, ERROR_FILE_TOO_LARGE);
  progress.Report(15);
  if (!announced && !reader.Open(address, flags | INTERNET_FLAG_NO_CACHE_WRITE))
    return Fail(request, reader.Error());
  if (request.cancelled) return false;
  progress.Report(20);
  return Receive(reader, size, request, progress);
}

bool ERXferHTTP::Receive(HttpReader& reader, uint32_t size, TransferRequest& request, Progress& progress) {
  if (size == 0) return false;  // nothing to receive: no temporary file is left behind
  FileHandle temporary(request.localPath + TXT(".erxfer"));
  if (!temporary.OpenWrite()) return Fail(request, temporary.lastError);
  uint32_t done = 0;
  uint32_t reported = 20;
  while (done < size && !request.cancelled) {
    DWORD got = 0;
    bool ok = reader.ReadBlock(got) || Fail(request, reader.Error());
    if (request.cancelled) break;  // what had arrived stays in the temporary file
    ok = ok && (temporary.Write(reader.Block(), got) || Fail(request, temporary.lastError));
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
