#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

LoopbackSocket::LoopbackSocket(int port, const char* source) {
  sockaddr_in from{}, to{};
  from.sin_family = to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, source, &from.sin_addr);
  inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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

std::string LoopbackSocket::ReadUntilClosed(double seconds, bool* closed) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  std::string received;
  bool ended = false;
  while (fd_ >= 0 && !ended) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd ready{fd_, POLLIN, 0};
    if (left <= 0 || poll(&ready, 1, static_cast<int>(left)) <= 0) break;
    char block[4096];
    const ssize_t n = recv(fd_, block, sizeof block, 0);
    if (n > 0) received.append(block, static_cast<size_t>(n));
    ended = n <= 0;
  }
  if (closed) *closed = ended;
  return received;
}
