#pragma once
// A raw TCP connection to a server on this machine, for requests that no HTTP client would send:
// connections that stay idle, requests cut off halfway, or requests from another loopback address.
#include <string>

class LoopbackSocket {
 public:
  // Connects to 127.0.0.1:port from `source` (any address of 127.0.0.0/8); check Connected().
  explicit LoopbackSocket(int port, const char* source = "127.0.0.1");
  ~LoopbackSocket();
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;

  bool Connected() const { return fd_ >= 0; }
  bool Send(const std::string& bytes);
  // Everything the server sends until it closes the connection or `seconds` pass; `closed` tells which.
  std::string ReadUntilClosed(double seconds, bool* closed = nullptr);

 private:
  int fd_ = -1;
};
