#include "server/ClientText.h"

#include <unicode/unorm2.h>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

WString Latin1Text(std::string_view bytes) {
  WString text;
  text.reserve(bytes.size());
  for (char b : bytes) text += static_cast<WChar>(static_cast<unsigned char>(b));
  return text;
}

WString Utf16Text(std::string_view bytes) {
  WString text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned lo = static_cast<unsigned char>(bytes[i]), hi = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<WChar>(lo | (hi << 8));
  }
  return text;
}

}  // namespace

std::optional<std::string> UploadedRecipeField(std::string_view body) {
  constexpr std::string_view kKey = "recipe=";
  if (body.substr(0, kKey.size()) != kKey) return std::nullopt;
  body.remove_prefix(kKey.size());
  // The document is the only field, and a letter copied as its low byte may look like "&" or "%":
  // so the value runs to the end of the body.
  while (!body.empty() && body.back() == '\0') body.remove_suffix(1);
  return FormDecode(body);
}

std::string PercentDecode(std::string_view encoded, bool plusIsBlank) {
  std::string bytes;
  bytes.reserve(encoded.size());
  for (size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    const int hi = c == '%' && i + 2 < encoded.size() ? HexDigit(encoded[i + 1]) : -1;
    const int lo = hi >= 0 ? HexDigit(encoded[i + 2]) : -1;
    if (lo >= 0) {
      bytes += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      bytes += plusIsBlank && c == '+' ? ' ' : c;
    }
  }
  return bytes;
}

std::string FormDecode(std::string_view encoded) {
  return PercentDecode(encoded, true);
}

WString DocumentText(std::string_view bytes) {
  const bool bom = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  const bool wide = bom || (bytes.size() >= 2 && bytes[1] == '\0' && bytes[0] != '\0');
  WString text = wide ? Utf16Text(bytes.substr(bom ? 2 : 0)) : Latin1Text(bytes);
  while (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

WString QueryText(std::string_view bytes) {
  WString text = FromUtf8(bytes);
  return ToUtf8(text) == bytes ? text : Latin1Text(bytes);
}

std::string ReplyBytes(WStringView text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (WChar c : text) bytes += static_cast<uint16_t>(c) <= 0xFF ? static_cast<char>(c) : '?';
  return bytes;
}

std::string Utf16Bytes(WStringView text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (WChar c : text) {
    bytes += static_cast<char>(static_cast<uint16_t>(c) & 0xFF);
    bytes += static_cast<char>(static_cast<uint16_t>(c) >> 8);
  }
  return bytes;
}

WString FoldedText(WStringView text) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* fold = unorm2_getNFKCCasefoldInstance(&status);
  // Folding can lengthen a text ("ß" becomes "ss"); a second pass gets the room it asks for.
  WString folded(text.size() + 8, u'\0');
  for (int pass = 0; pass < 2 && U_SUCCESS(status); ++pass) {
    const int32_t length = unorm2_normalize(fold, text.data(), static_cast<int32_t>(text.size()),
                                            folded.data(), static_cast<int32_t>(folded.size()), &status);
    folded.resize(static_cast<size_t>(length));
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    status = U_ZERO_ERROR;
  }
  return U_SUCCESS(status) ? folded : WString(text);
}

std::string LogText(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string line;
  line.reserve(bytes.size());
  for (char b : bytes) {
    const unsigned char c = static_cast<unsigned char>(b);
    if (c == '\\') {
      line += "\\\\";
    } else if (c >= 0x20 && c < 0x7F) {
      line += b;
    } else if (c == '\r' || c == '\n' || c == '\t') {
      line += c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\t";
    } else {
      line += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return line;
}
