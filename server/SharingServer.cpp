#include "server/SharingServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <thread>

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

// Appends one listing line: the id, a comma and the name, as bytes the program reads one character
// each (units above 0xFF become "?"). The client splits at commas unless double quotes group the text,
// drops the quotes and ends lines at CR, so quotes and control characters cannot be sent as they are.
void AppendListingLine(std::string& listing, const RecipeListing& row) {
  listing += std::to_string(row.id);
  listing += ',';
  const bool quoted = row.name.find(',') != WString::npos;
  if (quoted) listing += '"';
  for (WChar c : row.name) {
    if (c == '"') continue;
    listing += c < ' ' ? ' ' : static_cast<uint16_t>(c) <= 0xFF ? static_cast<char>(c) : '?';
  }
  if (quoted) listing += '"';
  listing += "\r\n";
}

WString Trimmed(const WString& text) {
  const size_t first = text.find_first_not_of(TXT(" \t"));
  if (first == WString::npos) return WString();
  return text.substr(first, text.find_last_not_of(TXT(" \t")) - first + 1);
}

HttpReply Text(int status, const std::string& text) {
  HttpReply reply;
  reply.status = status;
  reply.contentType = kTextType;
  reply.body = text;
  return reply;
}

HttpReply Refusal(int status, const std::string& reason) {
  return Text(status, "ERROR: " + reason + "\r\n");
}

// An empty 404: the program's transfer treats a file of size 0 as failed.
HttpReply NotFound() {
  HttpReply reply;
  reply.status = 404;
  return reply;
}

std::string Param(const HttpRequest& request, const char* key) {
  const auto value = request.query.find(key);
  return value == request.query.end() ? std::string() : value->second;
}

HttpLimits ConnectionLimits(const SharingSettings& settings) {
  HttpLimits limits;
  limits.maxBodyBytes = settings.maxUploadBytes;
  limits.idleSeconds = settings.idleSeconds;
  limits.requestSeconds = settings.requestSeconds;
  limits.connectionsPerClient = settings.connectionsPerClient;
  limits.threads = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
  limits.tlsCertificate = settings.tlsCertificate;
  limits.tlsKey = settings.tlsKey;
  return limits;
}

struct ServedFile {
  const char* path;
  const char* name;
  const char* type;
};

constexpr ServedFile kServedFiles[] = {
    {"/mirepan/Mirepan.ver", "Mirepan.ver", "text/xml"},
    {"/mirepan/Mirepansetup.exe", "Mirepansetup.exe", "application/octet-stream"},
    {"/mirepan/popup.xml", "popup.xml", "text/xml"},
};

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
    : store_(store),
      settings_(std::move(settings)),
      uploadLimits_(settings_.uploadRanges, {{settings_.maxUploadsPerMinute, std::chrono::minutes(1)},
                                             {settings_.maxUploadsPerHour, std::chrono::hours(1)}}),
      http_([this](const HttpRequest& request) { return Answer(request); }, ConnectionLimits(settings_)) {}

HttpReply SharingServer::Answer(const HttpRequest& request) {
  const std::string client = ClientOf(request);
  HttpReply reply = Route(request, client);
  if (settings_.log) {
    settings_.log(LogText(client) + " " + LogText(request.method) + " " + LogText(request.path) + " " +
                  std::to_string(reply.status));
  }
  return reply;
}

// The address of the client, which a trusted reverse proxy tells in the last entry of
// X-Forwarded-For: entries before it come from the client itself and could be anything.
std::string SharingServer::ClientOf(const HttpRequest& request) const {
  const std::optional<IpAddress> peer = IpAddress::Parse(request.clientAddress);
  const bool trusted = peer && std::any_of(settings_.trustedProxies.begin(), settings_.trustedProxies.end(),
                                           [&](const AddressRange& range) { return range.Contains(*peer); });
  if (!trusted || request.forwardedFor.empty()) return request.clientAddress;
  const std::string last = request.forwardedFor.substr(request.forwardedFor.rfind(',') + 1);
  const size_t first = last.find_first_not_of(' '), end = last.find_last_not_of(' ');
  return first == std::string::npos ? request.clientAddress : last.substr(first, end - first + 1);
}

HttpReply SharingServer::Route(const HttpRequest& request, const std::string& client) {
  // No name this server answers holds one; a zero byte would otherwise end a name early.
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (std::any_of(request.path.begin(), request.path.end(), control)) {
    return Refusal(400, "the path holds a control character");
  }
  if (request.method == "POST") {
    return request.path == "/mirepan/uploadrecipe.php" ? Upload(request, client) : NotFound();
  }
  if (request.method != "GET" && request.method != "HEAD") return NotFound();
  if (request.path == "/mirepan/findrecipe.php") return Search(request);
  if (request.path == "/mirepan/downloadrecipe.php") return Fetch(request);
  for (const ServedFile& file : kServedFiles) {
    if (request.path != file.path) continue;
    HttpReply reply = ServeFile(file.name, file.type);
    return &file == &kServedFiles[0] ? WithDigest(std::move(reply)) : reply;
  }
  return NotFound();
}

// The version file as it is, and the SHA-256 of the installer beside it when there is one.
HttpReply SharingServer::WithDigest(HttpReply reply) {
  const std::string installer =
      (std::filesystem::path(settings_.filesFolder) / kServedFiles[1].name).string();
  const std::string hex = installerDigest_.Of(installer);
  if (reply.file < 0 || hex.empty()) return reply;
  std::string text(reply.fileSize, '\0');
  const ssize_t read = pread(reply.file, text.data(), text.size(), 0);
  close(reply.file);
  reply.file = -1;
  if (read != static_cast<ssize_t>(text.size())) return NotFound();
  reply.body = WithInstallerHash(std::move(text), hex);
  return reply;
}

HttpReply SharingServer::Upload(const HttpRequest& request, const std::string& client) {
  if (request.bodyTooLarge) {
    return Refusal(
        413, "the recipe document is larger than " + std::to_string(settings_.maxUploadBytes) + " bytes");
  }
  UploadLimits::Clock::duration retryAfter{};
  switch (uploadLimits_.Admit(client, UploadLimits::Clock::now(), retryAfter)) {
    case UploadLimits::Verdict::NotAllowed:
      return Refusal(403, "this server takes no uploads from your address");
    case UploadLimits::Verdict::TooMany: {
      HttpReply reply = Refusal(429, "too many uploads from your address, try again later");
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(retryAfter).count() + 1;
      reply.headers.emplace_back("Retry-After", std::to_string(seconds));
      return reply;
    }
    case UploadLimits::Verdict::Admitted:
      break;
  }
  const std::optional<std::string> field = UploadedRecipeField(request.body);
  if (!field) return Refusal(400, "the upload carries no recipe field");
  std::string error;
  const std::optional<SharedRecipe> recipe = ReadSharedRecipe(DocumentText(*field), error);
  if (!recipe) return Refusal(400, error);
  const int64_t id = store_.Add(*recipe, settings_.today ? settings_.today() : LocalToday());
  if (id == 0) return Refusal(500, "the recipe could not be stored");
  return Text(200, std::string(kUploadAccepted) + " " + std::to_string(id) + "\r\n");
}

HttpReply SharingServer::Search(const HttpRequest& request) {
  RecipeQuery query;
  query.limit = settings_.maxResults;
  const std::string startDate = Param(request, "startdate");
  if (!startDate.empty() && !ParseStartDate(startDate, query.since)) {
    return Refusal(400, "the start date is not month-day-year");
  }
  query.category = QueryText(Param(request, "category"));
  query.name = Trimmed(QueryText(Param(request, "foodname")));
  std::string listing;
  for (const RecipeListing& row : store_.Find(query)) AppendListingLine(listing, row);
  return Text(200, listing);
}

HttpReply SharingServer::Fetch(const HttpRequest& request) {
  int64_t id = 0;
  std::optional<std::string> document;
  if (ParseRecipeId(Param(request, "id"), id)) document = store_.Document(id);
  if (!document) return NotFound();
  HttpReply reply;
  reply.contentType = "text/xml; charset=UTF-16LE";
  reply.body = std::move(*document);
  return reply;
}

// The file is opened for each request, so that files replaced while the server runs are served.
HttpReply SharingServer::ServeFile(const std::string& name, const char* contentType) {
  const std::string path = (std::filesystem::path(settings_.filesFolder) / name).string();
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status {};
  if (file < 0 || fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
    if (file >= 0) close(file);
    return NotFound();
  }
  HttpReply reply;
  reply.contentType = contentType;
  reply.file = file;
  reply.fileSize = static_cast<uint64_t>(status.st_size);
  return reply;
}
