#include "server/HttpService.h"

#include <arpa/inet.h>
#include <malloc.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "server/ClientText.h"

namespace {

// How often the request times are checked; a late request is dropped at most this much after its time.
constexpr std::chrono::milliseconds kDeadlineCheck(250);

// The text form of a client's address. A dual-stack socket shows IPv4 clients as ::ffff:a.b.c.d;
// they are given as a.b.c.d, the form the same client has on an IPv4 socket.
std::string AddressText(const sockaddr* address) {
  char text[INET6_ADDRSTRLEN] = "";
  if (address && address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  } else if (address && address->sa_family == AF_INET6) {
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
      inet_ntop(AF_INET, &v6.s6_addr[12], text, sizeof text);
    } else {
      inet_ntop(AF_INET6, &v6, text, sizeof text);
    }
  }
  return text;
}

int SocketOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  return info ? info->connect_fd : -1;
}

std::string ClientAddress(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return AddressText(info ? info->client_addr : nullptr);
}

MHD_Result AddQueryValue(void* query, MHD_ValueKind, const char* key, size_t keySize, const char* value,
                         size_t valueSize) {
  static_cast<std::map<std::string, std::string>*>(query)->emplace(
      std::string(key, keySize), value ? std::string(value, valueSize) : std::string());
  return MHD_YES;
}

// True when the request announces a body longer than `limit`.
bool AnnouncesLongerBody(MHD_Connection* connection, size_t limit) {
  const char* length =
      MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
  return length && std::strtoull(length, nullptr, 10) > limit;
}

MHD_Response* ResponseOf(HttpReply& reply) {
  MHD_Response* response = reply.file >= 0 ? MHD_create_response_from_fd64(reply.fileSize, reply.file)
                                           : MHD_create_response_from_buffer(
                                                 reply.body.size(), reply.body.data(), MHD_RESPMEM_MUST_COPY);
  if (!response) return nullptr;
  if (!reply.contentType.empty()) {
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
  }
  for (const auto& header : reply.headers)
    MHD_add_response_header(response, header.first.c_str(), header.second.c_str());
  return response;
}

}  // namespace

struct HttpService::Callbacks {
  // Called once a request line has arrived, with its URI as sent; the request it returns is the
  // `state` of the calls of Access. The library's own decoding of the path ends at a zero byte, so
  // the path is decoded here.
  static void* Begin(void*, const char* uri, MHD_Connection* connection) {
    const std::string_view path(uri, std::strcspn(uri, "?"));
    return new HttpRequest{ClientAddress(connection), "", PercentDecode(path, false)};
  }

  // Called when a request's headers have arrived, then once for each part of its body, then once
  // more with no data when the body is complete. `state` carries the request between the calls.
  static MHD_Result Access(void* self, MHD_Connection* connection, const char*, const char* method,
                           const char*, const char* data, size_t* size, void** state) {
    HttpService& service = *static_cast<HttpService*>(self);
    auto* request = static_cast<HttpRequest*>(*state);
    if (request->method.empty()) {
      request->method = method;
      MHD_get_connection_values_n(connection, MHD_GET_ARGUMENT_KIND, AddQueryValue, &request->query);
      const char* forwardedFor = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For");
      request->forwardedFor = forwardedFor ? forwardedFor : "";
      // A body announced too long is refused before it is sent.
      request->bodyTooLarge = AnnouncesLongerBody(connection, service.limits_.maxBodyBytes);
      if (!request->bodyTooLarge) return MHD_YES;
    } else if (*size != 0) {
      if (request->body.size() + *size > service.limits_.maxBodyBytes) {
        request->bodyTooLarge = true;
        request->body.clear();
      }
      if (!request->bodyTooLarge) request->body.append(data, *size);
      *size = 0;
      return MHD_YES;
    }
    return Answer(service, connection, *request);
  }

  static MHD_Result Answer(HttpService& service, MHD_Connection* connection, const HttpRequest& request) {
    service.RestartRequestTime(SocketOf(connection), true);
    HttpReply reply = service.handler_(request);
    MHD_Response* response = ResponseOf(reply);
    if (!response) {
      if (reply.file >= 0) close(reply.file);
      return MHD_NO;
    }
    const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
  }

  // Called when a reply has been sent, or a request was abandoned; a next request may follow.
  static void Completed(void* self, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    static_cast<HttpService*>(self)->RestartRequestTime(SocketOf(connection), false);
    delete static_cast<HttpRequest*>(*state);
    *state = nullptr;
  }

  // Called when a connection has been taken, and when it ends, before its socket is closed.
  static void Connection(void* self, MHD_Connection* connection, void**,
                         MHD_ConnectionNotificationCode code) {
    auto& service = *static_cast<HttpService*>(self);
    const int socket = SocketOf(connection);
    std::lock_guard<std::mutex> lock(service.deadlinesMutex_);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      service.deadlines_[socket] = Clock::now() + std::chrono::seconds(service.limits_.requestSeconds);
    } else {
      service.deadlines_.erase(socket);
    }
  }
};

HttpService::HttpService(Handler handler, HttpLimits limits)
    : handler_(std::move(handler)), limits_(limits) {}

HttpService::~HttpService() {
  if (listenSocket_ >= 0) close(listenSocket_);
}

int HttpService::Bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (listenSocket_ >= 0 || getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    errno = EADDRNOTAVAIL;
    return -1;
  }
  const int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
  // SO_REUSEADDR lets a restarted server take its port back at once; without SO_REUSEPORT a second
  // server on the same port fails instead of quietly sharing it.
  int yes = 1;
  const bool listening = fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
                         bind(fd, found->ai_addr, found->ai_addrlen) == 0 && listen(fd, SOMAXCONN) == 0;
  freeaddrinfo(found);
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  if (!listening || getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    const int reason = errno;
    if (fd >= 0) close(fd);
    errno = reason;
    return -1;
  }
  listenSocket_ = fd;
  return bound.ss_family == AF_INET ? ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port)
                                    : ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
}

bool HttpService::Run() {
  if (listenSocket_ < 0) return false;
  // Without a certificate the array of TLS options ends at its first item.
  const bool tls = !limits_.tlsCertificate.empty();
  const MHD_OptionItem tlsOptions[] = {
      {tls ? MHD_OPTION_HTTPS_MEM_CERT : MHD_OPTION_END, 0,
       const_cast<char*>(limits_.tlsCertificate.c_str())},
      {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(limits_.tlsKey.c_str())},
      {MHD_OPTION_END, 0, nullptr}};
  MHD_Daemon* daemon = MHD_start_daemon(
      MHD_USE_EPOLL_INTERNAL_THREAD | (tls ? MHD_USE_TLS : 0), 0, nullptr, nullptr, &Callbacks::Access, this,
      MHD_OPTION_LISTEN_SOCKET, listenSocket_, MHD_OPTION_THREAD_POOL_SIZE, limits_.threads,
      MHD_OPTION_CONNECTION_TIMEOUT, limits_.idleSeconds, MHD_OPTION_PER_IP_CONNECTION_LIMIT,
      limits_.connectionsPerClient, MHD_OPTION_URI_LOG_CALLBACK, &Callbacks::Begin, this,
      MHD_OPTION_NOTIFY_COMPLETED, &Callbacks::Completed, this, MHD_OPTION_NOTIFY_CONNECTION,
      &Callbacks::Connection, this, MHD_OPTION_ARRAY, tlsOptions, MHD_OPTION_END);
  if (!daemon) return false;
  listenSocket_ = -1;  // the daemon closes it when it stops
  {
    std::unique_lock<std::mutex> lock(mutex_);
    running_ = true;
    while (!stopRequested_.wait_for(lock, kDeadlineCheck, [this] { return stopping_; })) DropLateRequests();
    running_ = false;
  }
  MHD_stop_daemon(daemon);
  return true;
}

bool HttpService::IsRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

void HttpService::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopping_ = true;
  stopRequested_.notify_all();
}

void HttpService::RestartRequestTime(int socket, bool sending) {
  std::lock_guard<std::mutex> lock(deadlinesMutex_);
  const auto open = deadlines_.find(socket);
  if (open == deadlines_.end()) return;
  open->second =
      sending ? Clock::time_point::max() : Clock::now() + std::chrono::seconds(limits_.requestSeconds);
}

// A shutdown of the socket makes the library see the connection end, and close it in its own thread.
// The socket cannot have been closed and reused meanwhile: its entry goes before it is closed.
void HttpService::DropLateRequests() {
  const Clock::time_point now = Clock::now();
  std::lock_guard<std::mutex> lock(deadlinesMutex_);
  for (auto& [socket, deadline] : deadlines_) {
    if (deadline > now) continue;
    shutdown(socket, SHUT_RDWR);
    deadline = Clock::time_point::max();
  }
}

void KeepFreedMemory() {
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
}
