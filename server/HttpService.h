#pragma once
// A small HTTP/1.1 server on libmicrohttpd. A few threads serve every connection from event loops,
// so a connection that stays idle or sends slowly costs a socket and a little memory but holds no
// thread, and cannot delay anyone else's request. It is closed after some seconds without traffic,
// or when its request has not arrived in whole some seconds after it began, however steadily it
// trickles in; and one address holds only so many connections, so that it cannot take them all.
// The handler sees a request only once its body has arrived in full.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct HttpRequest {
  std::string clientAddress;                 // "192.0.2.7" or "2001:db8::7"; IPv4 also on an IPv6 socket
  std::string method;                        // "GET", "HEAD", "POST", ...
  std::string path;                          // decoded, without the query; every byte, a zero too
  std::map<std::string, std::string> query;  // decoded values by key; the first of a repeated key
  std::string forwardedFor;                  // the X-Forwarded-For header a reverse proxy adds
  std::string body;
  bool bodyTooLarge = false;  // the body is longer than the limit; it was not kept
};

struct HttpReply {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  int file = -1;          // when set, an open file whose first `fileSize` bytes are sent instead of
  uint64_t fileSize = 0;  // the body; the service closes it
};

struct HttpLimits {
  size_t maxBodyBytes = 1 << 20;       // longer bodies reach the handler as bodyTooLarge
  unsigned idleSeconds = 15;           // a connection without traffic for this long is closed
  unsigned requestSeconds = 30;        // a request's headers and body must arrive within this; at least 1
  unsigned connectionsPerClient = 32;  // connections open at once from one address; 0 for any number
  unsigned threads = 2;                // event loops, each serving its share of the connections
  std::string tlsCertificate;          // PEM; with the key, every connection is HTTPS (GnuTLS)
  std::string tlsKey;                  // PEM private key of the certificate
};

class HttpService {
 public:
  using Handler = std::function<HttpReply(const HttpRequest&)>;

  HttpService(Handler handler, HttpLimits limits);
  ~HttpService();
  HttpService(const HttpService&) = delete;
  HttpService& operator=(const HttpService&) = delete;

  // Binds the listening socket to a numeric address or a host name; port 0 picks a free one. The
  // port bound, or -1 with errno telling why.
  int Bind(const std::string& host, int port);
  // Serves on the bound socket until Stop; false when it could not serve.
  bool Run();
  // True while Run is serving.
  bool IsRunning() const;
  // Ends Run from any thread; a Stop before Run ends the Run that follows at once.
  void Stop();

  // Calls of libmicrohttpd; `self` is the service.
  struct Callbacks;

 private:
  using Clock = std::chrono::steady_clock;

  // The connection on `socket` has the request time from now for its next request, or no limit while
  // a reply is sent (`sending`), since a reply may be large and its reader slow.
  void RestartRequestTime(int socket, bool sending);
  // Ends the connections whose request time is up.
  void DropLateRequests();

  const Handler handler_;
  const HttpLimits limits_;
  int listenSocket_ = -1;
  mutable std::mutex mutex_;
  std::condition_variable stopRequested_;
  bool stopping_ = false;
  bool running_ = false;
  std::mutex deadlinesMutex_;
  std::map<int, Clock::time_point> deadlines_;  // by socket, of each open connection
};

// Lets the process keep the memory it frees. glibc otherwise gives the memory of each large request
// and reply back to the system and faults it in again for the next one, which costs more than the
// search itself. For a server's main(), before any thread starts.
void KeepFreedMemory();
