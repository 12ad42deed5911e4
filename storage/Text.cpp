#include "storage/Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

WChar FoldCase(WChar c) {
  const unsigned u = static_cast<unsigned>(c);
  if (u < 0x80) return (u >= 'A' && u <= 'Z') ? static_cast<WChar>(u + 32) : c;
  if ((u >= 0xC0 && u <= 0xDE && u != 0xD7) || (u >= 0x391 && u <= 0x3AB && u != 0x3A2) ||
      (u >= 0x410 && u <= 0x42F))
    return static_cast<WChar>(u + 32);
  if (u >= 0x400 && u <= 0x40F) return static_cast<WChar>(u + 80);
  // Latin Extended-A pairs: even code upper, odd lower (with the two shifted runs).
  if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) return static_cast<WChar>(u | 1);
  if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
    return static_cast<WChar>((u & 1) ? u + 1 : u);
  if (u == 0x178) return static_cast<WChar>(0xFF);
  return c;
}

int CompareNoCase(WStringView a, WStringView b) {
#ifdef _WIN32
  const int r = CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                               b.data(), static_cast<int>(b.size()));
  if (r != 0) return r - CSTR_EQUAL;
#endif
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const WChar x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

WString NoCaseKey(WStringView text) {
#ifdef _WIN32
  // The sort key is counted in bytes; each becomes one unit of the key.
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = static_cast<int>(text.size());
  const int bytes = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, nullptr, 0);
  if (bytes > 0) {
    std::string key(static_cast<size_t>(bytes), '\0');
    if (LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, reinterpret_cast<LPWSTR>(key.data()),
                     bytes) == bytes) {
      WString units;
      for (const unsigned char byte : key) units += static_cast<WChar>(byte);
      return units;
    }
  }
#endif
  WString key(text);
  for (WChar& c : key) c = FoldCase(c);
  return key;
}

std::string ToUtf8(WStringView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = static_cast<uint16_t>(text[i]);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      const uint32_t lo = static_cast<uint16_t>(text[i + 1]);
      if (lo >= 0xDC00 && lo < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, c);
  }
  return out;
}

namespace {

void AppendUtf16(WString& out, uint32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<WChar>(0xD800 + (c >> 10));
    out += static_cast<WChar>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<WChar>(c);
  }
}

}  // namespace

WString FromUtf8(std::string_view text) {
  WString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra >= text.size()) {  // stray or cut-off byte: keep as Latin-1
      out += static_cast<WChar>(b);
      ++i;
      continue;
    }
    uint32_t c = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += extra + 1;
    AppendUtf16(out, c);
  }
  return out;
}

namespace {

// The length of the well-formed sequence at the start of the bytes, with its code point; 0 when
// none starts there.
size_t Utf8SequenceAt(std::string_view bytes, uint32_t& codePoint) {
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};  // by length: shorter is overlong
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const size_t length = lead < 0x80   ? 1
                        : lead < 0xC0 ? 0
                        : lead < 0xE0 ? 2
                        : lead < 0xF0 ? 3
                        : lead < 0xF8 ? 4
                                      : 0;
  if (length == 0 || length > bytes.size()) return 0;
  uint32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[i]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
  codePoint = c;
  return length;
}

}  // namespace

bool DecodeUtf8(std::string_view bytes, WString& out) {
  bool wellFormed = true;
  out.reserve(out.size() + bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    uint32_t c = static_cast<unsigned char>(bytes[i]);
    size_t length = Utf8SequenceAt(bytes.substr(i), c);
    if (length == 0) {
      wellFormed = false;
      length = 1;
    }
    AppendUtf16(out, c);
    i += length;
  }
  return wellFormed;
}

WString FromAscii(std::string_view text) {
  return WString(text.begin(), text.end());
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
