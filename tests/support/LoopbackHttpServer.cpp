#include "support/LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Trim(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

// Splits the head of a request (everything before the blank line) into its request line and headers.
bool ParseHead(const std::string& head, LoopbackHttpServer::Request& request) {
  size_t lineEnd = head.find("\r\n");
  std::string requestLine = head.substr(0, lineEnd);
  size_t first = requestLine.find(' ');
  size_t second = requestLine.find(' ', first + 1);
  if (first == std::string::npos || second == std::string::npos) return false;
  request.method = requestLine.substr(0, first);
  request.target = requestLine.substr(first + 1, second - first - 1);
  while (lineEnd != std::string::npos) {
    size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
    size_t colon = line.find(':');
    if (colon != std::string::npos)
      request.headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
  }
  return true;
}

}  // namespace

std::string LoopbackHttpServer::Request::Header(const std::string& name) const {
  for (const auto& header : headers) {
    if (SameNoCase(header.first, name)) return header.second;
  }
  return std::string();
}

LoopbackHttpServer::LoopbackHttpServer() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("Winsock does not start");
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // any free port
  int length = sizeof address;
  if (listener_ == INVALID_SOCKET ||
      bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, SOMAXCONN) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
    throw std::runtime_error("no loopback port to listen on");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread(&LoopbackHttpServer::AcceptLoop, this);
}

LoopbackHttpServer::~LoopbackHttpServer() {
  Stop();
  WSACleanup();
}

std::wstring LoopbackHttpServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

void LoopbackHttpServer::Serve(const std::string& target, Reply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[target] = std::move(reply);
}

void LoopbackHttpServer::Serve(const std::string& target, const std::string& body) {
  Reply reply;
  reply.body = body;
  Serve(target, std::move(reply));
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

size_t LoopbackHttpServer::RequestCount(const std::string& target) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return CountOf(target);
}

size_t LoopbackHttpServer::CountOf(const std::string& target) const {
  return size_t(std::count_if(requests_.begin(), requests_.end(),
                              [&](const Request& request) { return request.target == target; }));
}

void LoopbackHttpServer::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    closesocket(listener_);
  }
  stopped_.notify_all();
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SOCKET connection : connections_) {
      shutdown(connection, SD_BOTH);
      closesocket(connection);
    }
    connections_.clear();
    threads.swap(threads_);
  }
  for (std::thread& thread : threads) thread.join();
}

void LoopbackHttpServer::AcceptLoop() {
  while (!stopping_) {
    SOCKET connection = accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;  // the listener closes when the server stops
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      closesocket(connection);
      break;
    }
    connections_.push_back(connection);
    threads_.emplace_back(&LoopbackHttpServer::ServeConnection, this, connection);
  }
}

void LoopbackHttpServer::ServeConnection(SOCKET connection) {
  std::string pending;
  Request request;
  while (ReadRequest(connection, pending, request)) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (CountOf(request.target) >= kMaxRequests) break;
      requests_.push_back(request);
    }
    if (!SendReply(connection, request, ReplyFor(request.target))) break;
    request = Request();
  }
  Forget(connection);
}

bool LoopbackHttpServer::ReadRequest(SOCKET connection, std::string& pending, Request& request) {
  char buffer[4096];
  size_t headEnd;
  while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
    int got = recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    pending.append(buffer, size_t(got));
  }
  if (!ParseHead(pending.substr(0, headEnd), request)) return false;
  pending.erase(0, headEnd + 4);
  size_t length = size_t(std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10));
  while (pending.size() < length) {
    int got = recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    pending.append(buffer, size_t(got));
  }
  request.body = pending.substr(0, length);
  pending.erase(0, length);
  return true;
}

LoopbackHttpServer::Reply LoopbackHttpServer::Drip(size_t announced) {
  Reply reply;
  reply.body.assign(kMaxReplyMs / 500, 'x');
  reply.blockSize = 1;
  reply.blockDelayMs = 500;
  reply.announcedLength = announced;
  return reply;
}

LoopbackHttpServer::Reply LoopbackHttpServer::Redirect(const std::string& target) {
  Reply reply;
  reply.status = 302;
  reply.location = target;
  return reply;
}

// True when the connection stays open for the next request.
bool LoopbackHttpServer::SendReply(SOCKET connection, const Request& request, const Reply& reply) {
  if (reply.headDelayMs && !Pause(reply.headDelayMs)) return false;
  const uint64_t length = reply.announcedLength ? reply.announcedLength : reply.body.size() + reply.fillBytes;
  std::string head = "HTTP/1.1 " + std::to_string(reply.status) + (reply.status == 200 ? " OK" : " Error") +
                     "\r\nContent-Type: application/octet-stream\r\n";
  if (!reply.location.empty()) head += "Location: " + reply.location + "\r\n";
  head += reply.endless ? std::string("Connection: close\r\n")
                        : "Content-Length: " + std::to_string(length) + "\r\n";
  head += "\r\n";
  if (!SendAll(connection, head.data(), head.size())) return false;
  if (request.method != "HEAD") {
    size_t block = reply.blockSize ? reply.blockSize : std::max<size_t>(reply.body.size(), 1);
    for (size_t sent = 0; sent < reply.body.size(); sent += block) {
      if (sent > 0 && !Pause(reply.blockDelayMs)) return false;
      if (!SendAll(connection, reply.body.data() + sent, std::min(block, reply.body.size() - sent)))
        return false;
    }
    if (reply.endless) {
      SendFiller(connection, kMaxReplyBytes);
      return false;  // only the connection's end ends such a body
    }
    if (!SendFiller(connection, reply.fillBytes)) return false;
  }
  return !reply.announcedLength && !SameNoCase(request.Header("Connection"), "close");
}

// Filler bytes until `size` are sent, the client goes, the server stops or the time is up.
bool LoopbackHttpServer::SendFiller(SOCKET connection, uint64_t size) {
  static const std::string filler(65536, 'f');
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMaxReplyMs);
  while (size > 0) {
    if (stopping_ || std::chrono::steady_clock::now() > end) return false;
    const size_t part = size_t(std::min<uint64_t>(size, filler.size()));
    if (!SendAll(connection, filler.data(), part)) return false;
    size -= part;
  }
  return true;
}

bool LoopbackHttpServer::SendAll(SOCKET connection, const char* data, size_t size) {
  while (size > 0) {
    int sent = send(connection, data, int(std::min<size_t>(size, 65536)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= size_t(sent);
  }
  return true;
}

bool LoopbackHttpServer::Pause(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !stopped_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return stopping_.load(); });
}

LoopbackHttpServer::Reply LoopbackHttpServer::ReplyFor(const std::string& target) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = replies_.find(target);
  if (found == replies_.end()) found = replies_.find(target.substr(0, target.find('?')));
  if (found != replies_.end()) return found->second;
  Reply missing;
  missing.status = 404;
  missing.body = "<html><body>Not Found</body></html>";
  return missing;
}

void LoopbackHttpServer::Forget(SOCKET connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = std::find(connections_.begin(), connections_.end(), connection);
  if (found == connections_.end()) return;  // Stop has closed it
  connections_.erase(found);
  closesocket(connection);
}
