#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

sockaddr_in LoopbackAddress(const char* address, int port) {
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, address, &socketAddress.sin_addr);
  return socketAddress;
}

}  // namespace

LoopbackSocket::LoopbackSocket(int port, const char* source) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in from = LoopbackAddress(source, 0), to = LoopbackAddress("127.0.0.1", port);
  if (fd_ >= 0 && (bind(fd_, reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0 ||
                   connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)) {
    close(fd_);
    fd_ = -1;
  }
}

LoopbackSocket::~LoopbackSocket() {
  if (fd_ >= 0) close(fd_);
}

bool LoopbackSocket::Send(const std::string& bytes) {
  size_t sent = 0;
  while (fd_ >= 0 && sent < bytes.size()) {
    const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return fd_ >= 0;
}

bool LoopbackSocket::Read(double seconds, std::string& received) {
  using Clock = std::chrono::steady_clock;
  const auto deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (fd_ >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd ready{fd_, POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
    char block[4096];
    const ssize_t n = recv(fd_, block, sizeof block, 0);
    if (n <= 0) return true;
    received.append(block, static_cast<size_t>(n));
  }
  return false;
}

std::string LoopbackSocket::ReadUntilClosed(double seconds) {
  std::string received;
  Read(seconds, received);
  return received;
}

bool LoopbackSocket::ClosedWithin(double seconds) {
  std::string received;
  return Read(seconds, received);
}
