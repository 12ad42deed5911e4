#include "SharingServerProcess.h"

#include <winsock2.h>

#include <fstream>
#include <iterator>

namespace {

// Binds to `port` (0: any free one) or connects to it; the port bound, or 1 for a connection.
uint16_t Probe(uint16_t port, bool connectTo) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  uint16_t result = 0;
  if (connectTo)
    result = connect(probe, raw, size) == 0;
  else if (bind(probe, raw, size) == 0 && getsockname(probe, raw, &size) == 0)
    result = ntohs(address.sin_port);
  closesocket(probe);
  WSACleanup();
  return result;
}

// The Unix path of a Windows path (Wine's own conversion); empty when there is none.
std::string UnixPath(const WString& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* converted = convert ? convert(path.c_str()) : nullptr;
  if (!converted) return {};
  std::string text = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  return text;
}

}  // namespace

SharingServerProcess::SharingServerProcess(const WString& folder) : folder_(folder) {
  for (WChar& unit : folder_)
    if (unit == '/') unit = '\\';
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
  port_ = Probe(0, false);
  const std::string unixFolder = UnixPath(folder_);
  if (port_ == 0 || unixFolder.empty()) return;
  std::wstring command = L"Z:\\bin\\sh \"" + FromUtf8(SHARING_SERVER_SCRIPT) + L"\" \"" +
                         FromUtf8(SHARING_SERVER) + L"\" " + std::to_wstring(port_) + L" \"" +
                         FromUtf8(unixFolder) + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int waited = 0; waited < 10000 && !(running_ = Probe(port_, true)); waited += 50) Sleep(50);
}

SharingServerProcess::~SharingServerProcess() {
  if (port_ == 0) return;
  CloseHandle(CreateFileW((folder_ + L"stop").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const WString stopped = folder_ + L"stopped";
  for (int waited = 0; waited < 3000 && GetFileAttributesW(stopped.c_str()) == INVALID_FILE_ATTRIBUTES;
       waited += 50)
    Sleep(50);
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
