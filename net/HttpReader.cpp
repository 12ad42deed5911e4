#include "net/HttpReader.h"

#include <wininet.h>

#include <atomic>
#include <cwchar>
#include <thread>
#include <utility>

#include "toolkit/ScopedHandle.h"

namespace DAVavador {
namespace {

constexpr DWORD kMaxNarrowAddress = 4096;

HINTERNET OpenSession(const WString& agent) {
  HINTERNET session = InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (session) return session;
  const std::string narrow(agent.begin(), agent.end());
  return InternetOpenA(narrow.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

HINTERNET OpenAddress(HINTERNET session, const WString& address, DWORD flags) {
  HINTERNET url = InternetOpenUrlW(session, address.c_str(), nullptr, 0, flags, 0);
  if (url) return url;
  char narrow[kMaxNarrowAddress] = {};
  WideCharToMultiByte(CP_ACP, 0, address.c_str(), -1, narrow, int(sizeof narrow) - 1, nullptr, nullptr);
  return InternetOpenUrlA(session, narrow, nullptr, 0, flags, 0);
}

// WinINet gives up by itself too, where it can: on Windows these end a stalled call on their own.
void SetTimeouts(HINTERNET session, DWORD ms) {
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(session, option, &ms, sizeof ms);
}

bool QueryNumber(HINTERNET url, DWORD what, DWORD& number) {
  DWORD length = sizeof number;
  return HttpQueryInfoW(url, what | HTTP_QUERY_FLAG_NUMBER, &number, &length, nullptr) != FALSE;
}

WString QueryText(HINTERNET url, DWORD what) {
  wchar_t text[kMaxNarrowAddress];
  DWORD length = sizeof text;
  if (!HttpQueryInfoW(url, what, text, &length, nullptr)) return WString();
  return WString(text, length / sizeof(wchar_t));
}

// Where a redirect leads: its Location, relative to the address that answered with it.
WString Resolve(const WString& address, const WString& location) {
  wchar_t combined[kMaxNarrowAddress];
  DWORD length = kMaxNarrowAddress;
  if (!InternetCombineUrlW(address.c_str(), location.c_str(), combined, &length, ICU_NO_ENCODE))
    return WString();
  return WString(combined, length);
}

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Fills the block unless the data ends first, so that a short block always means the end.
bool FillBlock(const std::atomic<HINTERNET>& url, char* block, DWORD size, DWORD& got) {
  got = 0;
  while (got < size) {
    DWORD read = 0;
    const HINTERNET handle = url.load();
    if (!handle || !InternetReadFile(handle, block + got, size - got, &read)) return false;
    if (read == 0) break;
    got += read;
  }
  return true;
}

}  // namespace

// What the reader shares with its thread; it lives as long as either still needs it.
struct HttpReader::Line {
  ~Line() { Close(); }

  // The handles go from whoever gives up first: a call in progress on the thread ends with them on
  // Windows; under Wine it goes on, and the thread's next call fails.
  void Close() {
    for (HINTERNET handle : {url.exchange(nullptr), connection.exchange(nullptr), session.exchange(nullptr)})
      if (handle) InternetCloseHandle(handle);
  }

  // The thread: one step for each `go`, until the reader leaves. It closes the handles itself, so
  // that what WinINet does at closing happens here: Wine reads the rest of a reply whose connection
  // it could use again, however long that reply is.
  static void Serve(std::shared_ptr<Line> line) {
    while (WaitForSingleObject(line->go.Get(), INFINITE) == WAIT_OBJECT_0 && !line->left) {
      SetLastError(0);
      line->succeeded = line->step(*line);
      line->error = line->succeeded ? 0 : GetLastError();
      SetEvent(line->done.Get());
    }
    line->Close();
  }

  ScopedHandle go{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  ScopedHandle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<bool> left{false};
  std::function<bool(Line&)> step;
  bool succeeded = false;
  DWORD error = 0;

  std::atomic<HINTERNET> session{nullptr};
  std::atomic<HINTERNET> connection{nullptr};  // of a POST
  std::atomic<HINTERNET> url{nullptr};         // the request
  uint32_t size = 0;
  DWORD got = 0;
  char block[kBlockSize];
};

HttpReader::HttpReader(const WString& agent, HANDLE cancel, DWORD stallMs)
    : line_(std::make_shared<Line>()), cancel_(cancel), stallMs_(stallMs) {
  const HINTERNET session = OpenSession(agent);
  if (!session) {
    error_ = GetLastError();
    return;
  }
  SetTimeouts(session, stallMs);
  line_->session = session;
  std::thread(&Line::Serve, line_).detach();
}

HttpReader::~HttpReader() {
  Leave(false);
}

void HttpReader::Leave(bool stepRunning) {
  if (!line_) return;
  line_->left = true;
  if (stepRunning) line_->Close();  // on Windows this ends the step
  SetEvent(line_->go.Get());
  line_.reset();
}

bool HttpReader::Fail(DWORD error) {
  error_ = error;
  return false;
}

bool HttpReader::Run(std::function<bool(Line&)> step) {
  if (!line_ || !line_->session) return Fail(error_ ? error_ : ERROR_INVALID_HANDLE);
  if (cancel_ && WaitForSingleObject(cancel_, 0) == WAIT_OBJECT_0) return Fail(ERROR_CANCELLED);
  line_->step = std::move(step);
  SetEvent(line_->go.Get());
  const HANDLE waits[] = {line_->done.Get(), cancel_};
  const DWORD woke = WaitForMultipleObjects(cancel_ ? 2 : 1, waits, FALSE, stallMs_);
  if (woke == WAIT_OBJECT_0) return line_->succeeded || Fail(line_->error ? line_->error : ERROR_GEN_FAILURE);
  Leave(true);
  return Fail(woke == WAIT_TIMEOUT ? ERROR_INTERNET_TIMEOUT : ERROR_CANCELLED);
}

bool HttpReader::Open(const WString& address, DWORD flags) {
  WString next = address;
  for (int redirects = 0; redirects <= kMaxRedirects; ++redirects) {
    // The step keeps its own copy of the address: it may outlive this call.
    const bool opened = Run([next, flags](Line& line) {
      const HINTERNET url = OpenAddress(line.session, next, flags | INTERNET_FLAG_NO_AUTO_REDIRECT);
      if (!url) return false;
      if (const HINTERNET before = line.url.exchange(url)) InternetCloseHandle(before);
      return true;
    });
    if (!opened) return false;
    DWORD status = 0;
    // Addresses that are not HTTP have no status and pass.
    if (!QueryNumber(line_->url, HTTP_QUERY_STATUS_CODE, status) || status < 300) return true;
    if (!IsRedirect(status)) {
      if (status < 400) return true;
      return Fail(status == 404 || status == 410 ? ERROR_FILE_NOT_FOUND : ERROR_HTTP_INVALID_SERVER_RESPONSE);
    }
    next = Resolve(next, QueryText(line_->url, HTTP_QUERY_LOCATION));
    if (next.empty()) return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE);
  }
  return Fail(ERROR_HTTP_REDIRECT_FAILED);
}

bool HttpReader::OpenPost(const WString& host, uint16_t port, const WString& path, DWORD flags) {
  return Run([host, port, path, flags](Line& line) {
    line.connection =
        InternetConnectW(line.session, host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (line.connection)
      line.url =
          HttpOpenRequestW(line.connection, L"POST", path.c_str(), L"HTTP/1.1", nullptr, nullptr, flags, 0);
    return line.url != nullptr;
  });
}

bool HttpReader::Send(const WString& headers, std::string body) {
  return Run([headers, body = std::move(body)](Line& line) {
    return HttpSendRequestW(line.url.load(), headers.c_str(), DWORD(headers.size()),
                            const_cast<char*>(body.data()), DWORD(body.size())) != FALSE;
  });
}

uint64_t HttpReader::AnnouncedLength() const {
  const WString text = line_ ? QueryText(line_->url, HTTP_QUERY_CONTENT_LENGTH) : WString();
  return text.empty() ? 0 : std::wcstoull(text.c_str(), nullptr, 10);
}

// WinINet builds that cannot seek an HTTP reply answer INVALID_SET_FILE_POINTER; the announced
// length serves then (0 when there is none).
uint32_t HttpReader::RemoteSize() {
  const bool sought = Run([](Line& line) {
    line.size = InternetSetFilePointer(line.url.load(), 0, nullptr, FILE_END, 0);
    return true;
  });
  if (!sought) return 0;
  if (line_->size != INVALID_SET_FILE_POINTER) return line_->size;
  const uint64_t announced = AnnouncedLength();
  return announced > UINT32_MAX ? UINT32_MAX : uint32_t(announced);
}

bool HttpReader::ReadBlock(DWORD& got) {
  got = 0;
  if (!Run([](Line& line) { return FillBlock(line.url, line.block, kBlockSize, line.got); })) return false;
  got = line_->got;
  return true;
}

const char* HttpReader::Block() const {
  return line_ ? line_->block : nullptr;
}

bool HttpReader::ReadAll(std::string& bytes, uint32_t maxBytes) {
  if (AnnouncedLength() > maxBytes) return Fail(ERROR_FILE_TOO_LARGE);
  DWORD got = kBlockSize;
  while (got == kBlockSize) {
    if (!ReadBlock(got)) return false;
    if (bytes.size() + got > maxBytes) return Fail(ERROR_FILE_TOO_LARGE);
    bytes.append(Block(), got);
  }
  return true;
}

}  // namespace DAVavador
