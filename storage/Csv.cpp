#include "storage/Csv.h"

#include "storage/Files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace {

bool IsSpace(WChar c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0xA0;
}

// Letters and digits of every script, as the system classifies them.
bool IsLetterOrDigit(WChar c) {
#ifdef _WIN32
  return IsCharAlphaNumericW(c) != FALSE;
#else
  return u_isalnum(static_cast<UChar32>(c)) != 0;
#endif
}

}  // namespace

bool IsCsvPath(const WString& path) {
  const size_t dot = path.rfind('.');
  return dot != WString::npos && EqualsNoCase(WStringView(path).substr(dot + 1), TXT("csv"));
}

CsvRow SplitCsvLine(WStringView line) {
  CsvRow fields(1);
  bool quoted = false;
  bool atStart = true;
  for (const WChar c : line) {
    if (atStart && IsSpace(c)) continue;
    atStart = false;
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
      atStart = true;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<WStringView> CsvLines(const WString& text) {
  std::vector<WStringView> lines;
  const WStringView all(text);
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == '"') quoted = !quoted;
    if (quoted || (all[i] != '\r' && all[i] != '\n')) continue;
    lines.push_back(all.substr(start, i - start));
    if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < all.size()) lines.push_back(all.substr(start));
  return lines;
}

WString NormalisedHeader(WStringView header) {
  WString normalised;
  for (const WChar c : header) {
    if (IsSpace(c)) continue;
    if (!IsLetterOrDigit(c)) break;
    normalised += c;
  }
  return normalised;
}

bool ReadFileBytes(const WString& path, std::string& bytes) {
  FileHandle file(path);
  bytes.assign(file.OpenRead() ? file.Size() : 0, '\0');
  uint32_t done = 0;
  const bool read =
      file.IsOpen() && (bytes.empty() || file.Read(&bytes[0], static_cast<uint32_t>(bytes.size()), done));
  bytes.resize(done);  // a file that shrank meanwhile keeps what was there
  return read;
}

WString Utf16Units(std::string_view bytes) {
  WString text(bytes.size() / 2, '\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] =
        static_cast<WChar>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  return text;
}

WString WidenedBytes(std::string_view bytes) {
  WString widened(bytes.size(), '\0');
  for (size_t i = 0; i < bytes.size(); ++i) widened[i] = static_cast<WChar>(static_cast<uint8_t>(bytes[i]));
  return widened;
}

WString WidenedBytes(const WString& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const WChar unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return WidenedBytes(bytes);
}

void AppendCsvField(WString& line, const WString& text, bool first) {
  if (!first) line += ',';
  line += '"';
  line += text;
  line += '"';
}
