#include "server/SharingServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "server/ClientText.h"
#include "server/SharedRecipe.h"

namespace {

constexpr const char* kUploadAccepted = "    OK";  // the client checks these six characters only
constexpr const char* kTextType = "text/plain; charset=ISO-8859-1";

// Parses 1 to `width` decimal digits.
bool ParseDigits(const std::string& text, size_t width, int64_t& value) {
  if (text.empty() || text.size() > width) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// A recipe id as the client's 32-bit parse reads it back; 0 is never an id.
bool ParseRecipeId(const std::string& text, int64_t& id) {
  return ParseDigits(text, 10, id) && id > 0 && id <= INT32_MAX;
}

// One listing line's name field. The client splits at commas unless double quotes group the text,
// drops the quotes and ends lines at CR, so quotes and control characters cannot be sent as they are.
WString ListingName(const WString& name) {
  WString field;
  for (WChar c : name) {
    if (c != '"') field += c < ' ' ? WChar(' ') : c;
  }
  return field.find(',') == WString::npos ? field : TXT("\"") + field + TXT("\"");
}

WString Trimmed(const WString& text) {
  const size_t first = text.find_first_not_of(TXT(" \t"));
  if (first == WString::npos) return WString();
  return text.substr(first, text.find_last_not_of(TXT(" \t")) - first + 1);
}

void Refuse(httplib::Response& response, int status, const std::string& reason) {
  response.status = status;
  response.set_content("ERROR: " + reason + "\r\n", kTextType);
}

}  // namespace

DayNumber LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

bool ParseStartDate(const std::string& text, DayNumber& day) {
  const size_t first = text.find('-'), second = text.find('-', first + 1);
  if (first == std::string::npos || second == std::string::npos) return false;
  int64_t month = 0, dayOfMonth = 0, year = 0;
  if (!ParseDigits(text.substr(0, first), 2, month) ||
      !ParseDigits(text.substr(first + 1, second - first - 1), 2, dayOfMonth) ||
      !ParseDigits(text.substr(second + 1), 4, year) || month < 1 || month > 12 || dayOfMonth < 1 ||
      dayOfMonth > 31) {
    return false;
  }
  day = static_cast<DayNumber>(year * 10000 + month * 100 + dayOfMonth);
  return true;
}

SharingServer::SharingServer(RecipeStore& store, SharingSettings settings)
    : store_(store), settings_(std::move(settings)), http_(std::make_unique<httplib::Server>()) {
  using httplib::Request;
  using httplib::Response;
  // SO_REUSEADDR lets a restarted server take its port back at once; leaving out httplib's
  // SO_REUSEPORT makes a second server on the same port fail instead of quietly sharing it.
  http_->set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // httplib itself cuts off bodies far beyond the limit; Upload refuses the rest with its reason.
  http_->set_payload_max_length(settings_.maxUploadBytes * 2 + 4096);
  http_->set_error_handler(httplib::Server::HandlerWithResponse([](const Request&, Response& response) {
    if (response.status != 413 || !response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Refuse(response, 413, "the recipe document is too large");
    return httplib::Server::HandlerResponse::Handled;
  }));
  if (settings_.log) {
    http_->set_logger([this](const Request& request, const Response& response) {
      settings_.log(request.remote_addr + " " + request.method + " " + request.path + " " +
                    std::to_string(response.status));
    });
  }
  http_->Post(R"(/mirepan/uploadrecipe\.php)", [this](const Request& q, Response& r) { Upload(q, r); });
  http_->Get(R"(/mirepan/findrecipe\.php)", [this](const Request& q, Response& r) { Search(q, r); });
  http_->Get(R"(/mirepan/downloadrecipe\.php)", [this](const Request& q, Response& r) { Fetch(q, r); });
  const struct {
    const char* pattern;
    const char* name;
    const char* type;
  } files[] = {
      {R"(/mirepan/Mirepan\.ver)", "Mirepan.ver", "text/xml"},
      {R"(/mirepan/Mirepansetup\.exe)", "Mirepansetup.exe", "application/octet-stream"},
      {R"(/mirepan/popup\.xml)", "popup.xml", "text/xml"},
  };
  for (const auto& file : files) {
    const std::string name = file.name;
    const char* type = file.type;
    http_->Get(file.pattern, [this, name, type](const Request&, Response& r) { ServeFile(name, type, r); });
  }
}

SharingServer::~SharingServer() = default;

int SharingServer::Bind(const std::string& host, int port) {
  if (port == 0) return http_->bind_to_any_port(host);
  return http_->bind_to_port(host, port) ? port : -1;
}

bool SharingServer::Run() {
  return http_->listen_after_bind();
}

bool SharingServer::IsRunning() const {
  return http_->is_running();
}

void SharingServer::Stop() {
  http_->stop();
}

void SharingServer::Upload(const httplib::Request& request, httplib::Response& response) {
  if (request.body.size() > settings_.maxUploadBytes) {
    return Refuse(
        response, 413,
        "the recipe document is larger than " + std::to_string(settings_.maxUploadBytes) + " bytes");
  }
  const std::optional<std::string> field = UploadedRecipeField(request.body);
  if (!field) return Refuse(response, 400, "the upload carries no recipe field");
  std::string error;
  const std::optional<SharedRecipe> recipe = ReadSharedRecipe(DocumentText(*field), error);
  if (!recipe) return Refuse(response, 400, error);
  const int64_t id = store_.Add(*recipe, settings_.today ? settings_.today() : LocalToday());
  if (id == 0) return Refuse(response, 500, "the recipe could not be stored");
  response.set_content(std::string(kUploadAccepted) + " " + std::to_string(id) + "\r\n", kTextType);
}

void SharingServer::Search(const httplib::Request& request, httplib::Response& response) {
  RecipeQuery query;
  query.limit = settings_.maxResults;
  const std::string startDate = request.get_param_value("startdate");
  if (!startDate.empty() && !ParseStartDate(startDate, query.since)) {
    return Refuse(response, 400, "the start date is not month-day-year");
  }
  query.category = QueryText(request.get_param_value("category"));
  query.name = Trimmed(QueryText(request.get_param_value("foodname")));
  WString listing;
  for (const RecipeListing& row : store_.Find(query)) {
    listing += FromAscii(std::to_string(row.id)) + TXT(",") + ListingName(row.name) + TXT("\r\n");
  }
  response.set_content(ReplyBytes(listing), kTextType);
}

void SharingServer::Fetch(const httplib::Request& request, httplib::Response& response) {
  // An unknown id gets an empty reply: the client's transfer treats a file of size 0 as failed.
  int64_t id = 0;
  std::optional<std::string> document;
  if (ParseRecipeId(request.get_param_value("id"), id)) document = store_.Document(id);
  if (!document) {
    response.status = 404;
    return;
  }
  response.set_content(*document, "text/xml; charset=UTF-16LE");
}

void SharingServer::ServeFile(const std::string& name, const char* contentType, httplib::Response& response) {
  const std::filesystem::path path = std::filesystem::path(settings_.filesFolder) / name;
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  const uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
  auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
  if (!regular || error || !*file) {
    response.status = 404;
    return;
  }
  response.set_content_provider(static_cast<size_t>(size), contentType,
                                [file](size_t offset, size_t length, httplib::DataSink& sink) {
                                  char block[16384];
                                  const size_t n = std::min(length, sizeof block);
                                  file->seekg(static_cast<std::streamoff>(offset));
                                  file->read(block, static_cast<std::streamsize>(n));
                                  if (static_cast<size_t>(file->gcount()) != n)
                                    return false;  // the file shrank while being sent
                                  sink.write(block, n);
                                  return true;
                                });
}
