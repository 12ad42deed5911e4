#include "SharingServerProcess.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int kStartWaitMs = 10000;
constexpr int kStopWaitMs = 3000;
constexpr int kPollMs = 50;

struct Winsock {
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~Winsock() { WSACleanup(); }
};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port the system had free a moment ago.
uint16_t FreePort() {
  Winsock winsock;
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(0);
  int size = sizeof address;
  uint16_t port = 0;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  closesocket(probe);
  return port;
}

bool Accepts(uint16_t port) {
  Winsock winsock;
  SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(port);
  const bool connected = connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  closesocket(client);
  return connected;
}

bool Exists(const WString& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string UnixPath(const WString& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* converted = convert(path.c_str());
  if (!converted) return {};
  std::string text = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  return text;
}

SharingServerProcess::SharingServerProcess(const WString& folder) : folder_(folder) {
  for (WChar& unit : folder_)
    if (unit == '/') unit = '\\';
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
  port_ = FreePort();
  const std::string unixFolder = UnixPath(folder_);
  if (port_ == 0 || unixFolder.empty()) return;
  std::wstring command = L"Z:\\bin\\sh \"" + FromUtf8(SHARING_SERVER_SCRIPT) + L"\" \"" +
                         FromUtf8(SHARING_SERVER) + L"\" " + std::to_wstring(port_) + L" \"" +
                         FromUtf8(unixFolder) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int waited = 0; waited < kStartWaitMs && !running_; waited += kPollMs) {
    running_ = Accepts(port_);
    if (!running_) Sleep(kPollMs);
  }
}

SharingServerProcess::~SharingServerProcess() {
  if (port_ == 0) return;
  const HANDLE stop =
      CreateFileW((folder_ + L"stop").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (stop != INVALID_HANDLE_VALUE) CloseHandle(stop);
  for (int waited = 0; waited < kStopWaitMs && !Exists(folder_ + L"stopped"); waited += kPollMs)
    Sleep(kPollMs);
}

ServerAddress SharingServerProcess::Address() const {
  ServerAddress address;
  address.Parse(L"127.0.0.1:" + std::to_wstring(port_));
  return address;
}

std::string SharingServerProcess::Log() const {
  std::ifstream log((folder_ + L"server.log").c_str());
  return std::string(std::istreambuf_iterator<char>(log), {});
}
