#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests of the network code (Winsock, Windows only).
// It listens on a free port from construction to destruction, answers every request from the
// replies it was given by path and records what it received. Each connection may carry several
// requests one after another (keep-alive); every connection has its own thread. The bad servers a
// client must survive (endless, dripping, silent, huge, redirecting in circles) are replies too;
// each is bounded: it ends when the client goes, the server stops, or after kMaxReplyBytes or
// kMaxReplyMs; and the server answers kMaxRequests requests for one target at most.
//
//   LoopbackHttpServer server;
//   server.Serve("/mirepan/Mirepan.ver", "<Version>4.4.1.0</Version>");
//   std::wstring url = server.Url("/mirepan/");   // http://127.0.0.1:PORT/mirepan/
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class LoopbackHttpServer {
 public:
  struct Reply {
    int status = 200;
    std::string body;
    // Slow delivery: the body goes out in blocks of `blockSize` bytes with a pause of `blockDelayMs`
    // before each block after the first. A block size of 0 sends the body at once.
    size_t blockSize = 0;
    unsigned blockDelayMs = 0;
    // A server that stops mid-transfer: the length it announces when not 0; the connection closes
    // after the body, however long that is.
    size_t announcedLength = 0;
    // A huge reply: this many filler bytes after `body`, announced and made up while sending.
    uint64_t fillBytes = 0;
    // A body without end: no length announced, filler bytes until the client goes.
    bool endless = false;
    // A slow or silent server: the pause before the reply's head.
    unsigned headDelayMs = 0;
    // A redirect: sent as the Location header (the status is then 302 unless set otherwise).
    std::string location;
  };

  // Bounds of every reply, and of the requests the server answers for one target (a client that
  // follows redirects without end stops there).
  static constexpr uint64_t kMaxReplyBytes = uint64_t(600) << 20;
  static constexpr unsigned kMaxReplyMs = 60000;
  static constexpr size_t kMaxRequests = 1000;

  // A reply that drips one byte every half second (announcing `announced` bytes), and one that
  // redirects to `target`.
  static Reply Drip(size_t announced = 1 << 20);
  static Reply Redirect(const std::string& target);

  struct Request {
    std::string method;
    std::string target;  // path and query as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;                                   // read by Content-Length
    std::string Header(const std::string& name) const;  // name without regard to case; "" when absent
  };

  // Throws std::runtime_error when no socket can be bound.
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  uint16_t Port() const { return port_; }
  std::wstring Url(const std::string& path = "") const;  // "http://127.0.0.1:PORT" + path

  // The reply for a request target: an exact match (path and query) wins, then a match of the path
  // without its query. Unknown targets get 404 with a short text. A later reply for the same
  // target replaces the earlier one.
  void Serve(const std::string& target, Reply reply);
  void Serve(const std::string& target, const std::string& body);

  std::vector<Request> Requests() const;
  size_t RequestCount(const std::string& target) const;  // requests whose target is exactly this

  // Closes the listening socket and every connection and waits for their threads. The destructor
  // calls it; afterwards the port refuses connections.
  void Stop();

 private:
  void AcceptLoop();
  void ServeConnection(SOCKET connection);
  bool ReadRequest(SOCKET connection, std::string& pending, Request& request);
  bool SendReply(SOCKET connection, const Request& request, const Reply& reply);
  bool SendAll(SOCKET connection, const char* data, size_t size);
  bool SendFiller(SOCKET connection, uint64_t size);
  bool Pause(unsigned milliseconds);  // false when the server stops meanwhile
  Reply ReplyFor(const std::string& target) const;
  size_t CountOf(const std::string& target) const;  // with the mutex held
  void Forget(SOCKET connection);

  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  std::map<std::string, Reply> replies_;
  std::vector<Request> requests_;
  std::vector<SOCKET> connections_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};
