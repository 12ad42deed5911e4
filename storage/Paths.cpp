#include "storage/Paths.h"

namespace {
size_t LastSeparator(const WString& path) {
  return path.find_last_of(TXT("\\/"));
}
}  // namespace

WString FolderOf(const WString& path) {
  const size_t at = LastSeparator(path);
  if (at == WString::npos) return path;
  WString folder = path.substr(0, at);
  folder += '\\';
  return folder;
}

WString FileNameOf(const WString& path) {
  const size_t at = LastSeparator(path);
  return at == WString::npos ? path : path.substr(at + 1);
}

WString PlainFileName(const WString& path) {
  const size_t at = path.find_last_of(TXT("\\/:"));
  WString name = at == WString::npos ? path : path.substr(at + 1);
  if (name == TXT(".") || name == TXT("..")) name.clear();
  return name;
}

WString BaseNameOf(const WString& path) {
  WString name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot != WString::npos) name.erase(dot);
  return name;
}

WString EnsureTrailing(const WString& text, WChar ending) {
  if (text.empty() || text.back() == ending) return text;
  return text + ending;
}
