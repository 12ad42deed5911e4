#include "storage/XMLDoc.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "storage/Files.h"

namespace {

size_t Length(const WChar* text) {
  return text ? std::char_traits<WChar>::length(text) : 0;
}

// Decimal digits of a magnitude, written backwards from the end of the buffer; returns the first.
WChar* FormatUnsigned(uint32_t value, WChar* end) {
  do {
    *--end = static_cast<WChar>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return end;
}

WChar* FormatSigned(int32_t value, WChar* end) {
  const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  WChar* first = FormatUnsigned(magnitude, end);
  if (value < 0) *--first = '-';
  return first;
}

WChar* Put(WChar* out, const WChar* text, size_t length) {
  std::char_traits<WChar>::copy(out, text, length);
  return out + length;
}

WChar* Put(WChar* out, WChar c) {
  *out = c;
  return out + 1;
}

// Text values with "&", "<" and ">" replaced by their entities.
size_t EscapedLength(const WChar* text) {
  size_t length = 0;
  for (const WChar* p = text; *p; ++p) length += *p == '&' ? 5 : (*p == '<' || *p == '>') ? 4 : 1;
  return length;
}

WChar* PutEscaped(WChar* out, const WChar* text) {
  for (const WChar* p = text; *p; ++p) {
    switch (*p) {
      case '&':
        out = Put(out, TXT("&amp;"), 5);
        break;
      case '<':
        out = Put(out, TXT("&lt;"), 4);
        break;
      case '>':
        out = Put(out, TXT("&gt;"), 4);
        break;
      default:
        *out++ = *p;
    }
  }
  return out;
}

bool IsBlank(WChar c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(WChar c) {
  return c >= '0' && c <= '9';
}
bool IsAsciiAlnum(WChar c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Searches text for pattern from a position; kNotFound when absent.
size_t Find(WStringView text, const WString& pattern, size_t from) {
  const size_t at = text.find(pattern, from);
  return at == WString::npos ? XMLDoc::kNotFound : at;
}

// Whether the pattern occurs at or after a position; searched from the end, where a root's end
// tag stands.
bool FoundFrom(WStringView text, const WString& pattern, size_t from) {
  const size_t at = text.rfind(pattern);
  return at != WString::npos && at >= from;
}

// The bytes of a file loaded two per unit: first byte low, second high.
std::string UnitBytes(WStringView text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto unit = static_cast<uint16_t>(text[i]);
    bytes[2 * i] = static_cast<char>(unit & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(unit >> 8);
  }
  return bytes;
}

enum class Declared { kNothing, kUtf8, kOther };

// The encoding the XML declaration at the start of the bytes names ("<?xml version="1.0"
// encoding='UTF-8'?>", the name in any case and in either quotes).
Declared DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return Declared::kNothing;
  std::string declaration(bytes.substr(0, bytes.find('>')));
  for (char& c : declaration) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t at = declaration.find("encoding");
  if (at == std::string::npos) return Declared::kNothing;
  at = declaration.find_first_not_of(" \t\r\n=", at + 8);
  if (at == std::string::npos || (declaration[at] != '"' && declaration[at] != '\''))
    return Declared::kNothing;
  const size_t end = declaration.find(declaration[at], at + 1);
  return declaration.compare(at + 1, end - at - 1, "utf-8") == 0 ? Declared::kUtf8 : Declared::kOther;
}

// The text of an 8-bit file: UTF-8 when a byte-order mark or the XML declaration says so, or when
// the file declares no encoding and is well-formed UTF-8; otherwise each byte is the character of
// the same code (ISO-8859-1).
WString EightBitText(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  const Declared declared = marked ? Declared::kUtf8 : DeclaredEncoding(bytes);
  WString text;
  if (declared != Declared::kOther && (DecodeUtf8(bytes, text) || declared == Declared::kUtf8)) return text;
  text.assign(bytes.size(), 0);
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](char b) { return static_cast<WChar>(static_cast<unsigned char>(b)); });
  return text;
}

// Lenient integer of [text, end): a "-" among the units before the first digit makes it negative;
// the digits wrap in 32-bit arithmetic like the files' original reader.
int32_t ParseIntRange(const WChar* text, const WChar* end) {
  bool negative = false;
  while (text != end && !IsDigit(*text)) negative |= *text++ == '-';
  uint32_t value = 0;
  while (text != end && IsDigit(*text)) value = value * 10 + static_cast<uint32_t>(*text++ - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

const WChar* EndOf(const WChar* text) {
  return text + Length(text);
}

int32_t WithoutMinimum(int32_t value) {
  return value == INT32_MIN ? INT32_MIN + 1 : value;
}

// Calls item(begin, end) for every non-empty item of a comma-separated list.
template <typename Item>
void ForEachListItem(const WChar* text, Item item) {
  if (!text) return;
  for (const WChar* begin = text; *begin;) {
    const WChar* end = begin;
    while (*end && *end != ',') ++end;
    if (end != begin) item(begin, end);
    begin = *end ? end + 1 : end;
  }
}

// Powers of ten that doubles hold exactly; one multiplication or division by them rounds correctly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double Scale(uint64_t mantissa, int exponent) {
  if (mantissa == 0) return 0;
  // Exact operands give the nearest double at once; everything else goes through the library's
  // correctly rounded conversion, so that every platform reads the same number.
  constexpr uint64_t kExactMantissa = uint64_t{1} << 53;
  const auto exact = static_cast<double>(mantissa);
  if (mantissa < kExactMantissa && exponent >= 0 && exponent <= 22) return exact * kExactPowers[exponent];
  if (mantissa < kExactMantissa && exponent < 0 && exponent >= -22) return exact / kExactPowers[-exponent];
  char text[48];
  const int length =
      std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(mantissa), exponent);
  double value = 0;
  if (std::from_chars(text, text + length, value).ec != std::errc()) return 0;  // beyond the range of doubles
  return value;
}

// An exponent after the digits ("e+006", "E-5"); text stays where it was when none follows.
int ParseExponent(const WChar*& text) {
  const WChar* p = text;
  if (*p != 'e' && *p != 'E') return 0;
  ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!IsDigit(*p)) return 0;
  int exponent = 0;
  for (; IsDigit(*p); ++p) {
    if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
  }
  text = p;
  return negative ? -exponent : exponent;
}

}  // namespace

// "%g" with six significant digits in the C conventions, and an exponent of at least three digits
// ("1e+006") as the Windows runtime writes it, so that every build writes the same files.
size_t FormatReal(double value, WChar* out) {
  char text[40];
  const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
  size_t length = 0;
  for (const char* p = text; p != end; ++p) {
    out[length++] = static_cast<WChar>(*p);
    if (*p == 'e') {
      out[length++] = static_cast<WChar>(*++p);  // the exponent's sign
      for (auto digits = end - p - 1; digits < 3; ++digits) out[length++] = '0';
    }
  }
  return length;
}

// ---- Writing ----

XMLDoc::XMLDoc() = default;
XMLDoc::~XMLDoc() = default;
XMLDoc::XMLDoc(XMLDoc&&) noexcept = default;
XMLDoc& XMLDoc::operator=(XMLDoc&&) noexcept = default;

// Each element is one line, written in place into room made at the end of the output.
WChar* XMLDoc::Extend(size_t units) {
  if (stream_ && out_.size() + units > kStreamChunk) WriteStream();
  const size_t at = out_.size();
  out_.resize(at + units);
  return &out_[at];
}

void XMLDoc::AppendEmpty(const WChar* name) {
  const size_t nameLength = Length(name);
  Put(Put(Put(Extend(nameLength + 5), '<'), name, nameLength), TXT("/>\r\n"), 4);
}

void XMLDoc::AppendTag(const WChar* prefix, const WChar* name, size_t nameLength) {
  const size_t prefixLength = Length(prefix);
  Put(Put(Put(Extend(prefixLength + nameLength + 3), prefix, prefixLength), name, nameLength), TXT(">\r\n"),
      3);
}

template <typename Fill>
void XMLDoc::AppendLeaf(const WChar* name, size_t valueLength, Fill fill) {
  const size_t nameLength = Length(name);
  WChar* out = Put(Put(Extend(2 * nameLength + valueLength + 7), '<'), name, nameLength);
  out = fill(Put(out, '>'));
  Put(Put(Put(out, TXT("</"), 2), name, nameLength), TXT(">\r\n"), 3);
}

void XMLDoc::AppendLeaf(const WChar* name, const WChar* value, size_t length) {
  AppendLeaf(name, length, [&](WChar* out) { return Put(out, value, length); });
}

void XMLDoc::OpenElement(const WChar* name) {
  AppendTag(TXT("<"), name, Length(name));
  open_.emplace_back(name ? name : TXT(""));
}

void XMLDoc::CloseElement() {
  if (open_.empty()) return;
  AppendTag(TXT("</"), open_.back().data(), open_.back().size());
  open_.pop_back();
}

void XMLDoc::WriteString(const WChar* name, const WChar* text) {
  if (!text || !*text) return AppendEmpty(name);
  AppendLeaf(name, EscapedLength(text), [text](WChar* out) { return PutEscaped(out, text); });
}

void XMLDoc::WriteString(const WChar* name, const WString& text) {
  WriteString(name, text.c_str());
}

void XMLDoc::WriteInt(const WChar* name, int32_t value) {
  if (value == 0) return AppendEmpty(name);
  WChar digits[12];
  const WChar* first = FormatSigned(value, digits + 12);
  AppendLeaf(name, first, static_cast<size_t>(digits + 12 - first));
}

void XMLDoc::WriteUInt(const WChar* name, uint32_t value) {
  if (value == 0) return AppendEmpty(name);
  WChar digits[12];
  const WChar* first = FormatUnsigned(value, digits + 12);
  AppendLeaf(name, first, static_cast<size_t>(digits + 12 - first));
}

void XMLDoc::WriteBool(const WChar* name, bool value) {
  if (!value) return AppendEmpty(name);
  const WChar one = '1';
  AppendLeaf(name, &one, 1);
}

void XMLDoc::WriteReal(const WChar* name, double value) {
  if (value == 0.0) return AppendEmpty(name);
  WChar text[48];
  AppendLeaf(name, text, FormatReal(value, text));
}

template <typename T>
void XMLDoc::AppendList(const WChar* name, const std::vector<T>& values) {
  if (values.empty()) return AppendEmpty(name);
  WString joined;
  joined.reserve(values.size() * 4);
  WChar digits[12];
  for (const T value : values) {
    if (!joined.empty()) joined += ',';
    const WChar* first = FormatSigned(static_cast<int32_t>(value), digits + 12);
    joined.append(first, static_cast<size_t>(digits + 12 - first));
  }
  AppendLeaf(name, joined.data(), joined.size());
}

void XMLDoc::WriteByteList(const WChar* name, const std::vector<uint8_t>& values) {
  AppendList(name, values);
}

void XMLDoc::WriteIntList(const WChar* name, const std::vector<int32_t>& values) {
  AppendList(name, values);
}

void XMLDoc::StreamTo(const WString& path) {
  stream_ = std::make_unique<ReplacingFile>(path);
  WriteStream();
}

void XMLDoc::WriteStream() {
  stream_->Write(out_.data(), out_.size() * sizeof(WChar));
  out_.clear();
}

bool XMLDoc::Save(const WString& path) {
  if (!stream_) return ReplaceFileContents(path, out_.data(), out_.size() * sizeof(WChar), lastError_);
  // The streamed part went to the stream's file only; no other file gets a tail of it.
  if (stream_->Path() != path) return false;
  WriteStream();
  const bool saved = stream_->Commit(lastError_);
  stream_.reset();
  return saved;
}

// ---- Reading ----

bool XMLDoc::Load(const WString& path) {
  FileHandle file(path);
  const bool loaded = file.ReadAllUnits(in_, inSize_, &oddByte_);
  if (!loaded) {
    in_.reset();
    inSize_ = 0;
  }
  lastError_ = loaded ? 0 : file.lastError;
  SetCursor(0);
  emptyTag_ = endTag_ = false;
  return loaded;
}

void XMLDoc::SetText(WString text) {
  TakeText(text);
  cursor_ = 0;
  emptyTag_ = endTag_ = false;
}

void XMLDoc::TakeText(WStringView text) {
  in_.reset(new WChar[text.size() + 1]);
  std::copy(text.begin(), text.end(), in_.get());
  inSize_ = text.size();
  oddByte_ = false;
}

bool XMLDoc::FindRoot(const WChar* root) {
  const WString name(root ? root : TXT(""));
  const WStringView text = Text();
  const size_t start = Find(text, TXT("<") + name, 0);
  if (start != kNotFound) return FoundFrom(text, TXT("</") + name, start);

  // An 8-bit file, loaded as if it were UTF-16.
  std::string bytes = UnitBytes(text);
  if (oddByte_) bytes += static_cast<char>(in_[inSize_] & 0xFF);
  const WString eightBit = EightBitText(bytes);
  const size_t eightBitStart = Find(eightBit, TXT("<") + name, 0);
  if (eightBitStart == kNotFound || !FoundFrom(eightBit, TXT("</") + name, eightBitStart)) return false;
  TakeText(eightBit);
  return true;
}

WChar* XMLDoc::NextTag() {
  emptyTag_ = endTag_ = false;
  if (cursor_ >= inSize_) {
    cursor_ = kNotFound;
    return nullptr;
  }
  WChar* const text = in_.get();
  const size_t size = inSize_;
  size_t i = cursor_;
  while (i < size && text[i] != '<') ++i;
  WChar* name = nullptr;
  bool content = false;
  for (++i; i < size; ++i) {
    const WChar c = text[i];
    if (c == '>') {
      text[i] = 0;
      cursor_ = i + 1;
      return name ? name : text + i;  // "<>" reads as an empty name, not as the end
    }
    if (c == '/') {
      (content ? emptyTag_ : endTag_) = true;
      text[i] = 0;
    } else if (IsBlank(c)) {
      text[i] = 0;
    } else {
      content = true;
      if (!name) name = text + i;
    }
  }
  cursor_ = kNotFound;  // no further "<", or a tag cut off by the end of the text
  emptyTag_ = endTag_ = false;
  return nullptr;
}

WChar* XMLDoc::ReadValue(const WChar* expected) {
  if (cursor_ == kNotFound) return nullptr;  // the text has ended: there is no value to read
  if (emptyTag_) return &in_[cursor_ - 1];   // the terminator that replaced the ">" of "<NAME/>"
  if (endTag_) {
    endTag_ = false;
    return nullptr;
  }
  if (cursor_ >= inSize_) return nullptr;
  WChar* const text = in_.get();
  const size_t size = inSize_;
  size_t i = cursor_;
  while (i < size && text[i] != '<' && text[i] != '>') ++i;
  if (i == size || text[i] == '>') return nullptr;
  const size_t valueEnd = i;
  WChar* value = valueEnd > cursor_ ? text + cursor_ : nullptr;
  // What the writer writes: "</" and the expected name exactly, then ">".
  const size_t expectedLength = Length(expected);
  if (expectedLength && IsAsciiAlnum(expected[0]) && i + expectedLength + 2 < size && text[i + 1] == '/' &&
      std::char_traits<WChar>::compare(text + i + 2, expected, expectedLength) == 0 &&
      text[i + expectedLength + 2] == '>') {
    text[valueEnd] = 0;
    text[i + expectedLength + 2] = 0;
    cursor_ = i + expectedLength + 3;
    return value;
  }
  // The first "<" ends the value whatever follows it, so the "<" of a child element is gone too.
  // Then the end tag: "/", a name from its first ASCII letter or digit up to the ">"; a second "<"
  // or "/" means this is no leaf.
  text[valueEnd] = 0;
  bool slash = false;
  size_t nameStart = 0;
  for (++i; i < size; ++i) {
    const WChar c = text[i];
    if (c == '<') return nullptr;
    if (c == '/') {
      if (slash) return nullptr;
      slash = true;
    } else if (c == '>') {
      if (!nameStart) return nullptr;
      text[i] = 0;
      cursor_ = i + 1;
      return EqualsNoCase(WStringView(text + nameStart, i - nameStart), WStringView(expected, expectedLength))
                 ? value
                 : nullptr;
    } else if (!nameStart && slash && IsAsciiAlnum(c)) {
      nameStart = i;
    }
  }
  return nullptr;
}

int XMLDoc::Progress() const {
  if (inSize_ == 0) return 0;
  if (cursor_ >= inSize_) return 100;
  return static_cast<int>(static_cast<uint64_t>(cursor_) * 100 / inSize_);
}

// ---- Value conversions ----

void XMLUnescape(WString& text) {
  static const WChar* const kEntities[] = {TXT("&amp;"), TXT("&lt;"), TXT("&gt;")};
  static const WChar kDecoded[] = {'&', '<', '>'};
  size_t written = 0, entity = WString::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    const WChar c = text[i];
    if (c == '&') {
      entity = i;
    } else if (entity == WString::npos) {
      text[written++] = c;
    } else if (c == ';') {
      // The entity matches when its units are the leading units of a known one, in either case.
      const WStringView found(text.data() + entity, i - entity);
      for (int k = 0; k < 3; ++k) {
        const WStringView known(kEntities[k]);
        if (found.size() < known.size() && EqualsNoCase(found, known.substr(0, found.size()))) {
          text[written++] = kDecoded[k];
          break;
        }
      }
      entity = WString::npos;
    }
  }
  text.resize(written);
}

WString XMLUnescape(const WChar* raw) {
  WString text(raw ? raw : TXT(""));
  XMLUnescape(text);
  return text;
}

int32_t ParseInt(const WChar* text) {
  return text ? ParseIntRange(text, EndOf(text)) : 0;
}

double ParseReal(const WChar* text) {
  if (!text) return 0;
  bool negative = false;
  while (*text && !IsDigit(*text) && *text != '.') negative |= *text++ == '-';
  // All significant digits go into one integer (up to 19 of them); the exponent places the point.
  uint64_t mantissa = 0;
  int exponent = 0, digits = 0;
  bool point = false;
  for (;; ++text) {
    if (*text == '.' && !point) {
      point = true;
    } else if (IsDigit(*text)) {
      if (digits < 19) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*text - '0');
        if (mantissa != 0) ++digits;
        if (point) --exponent;
      } else if (!point) {
        ++exponent;
      }
    } else {
      break;
    }
  }
  exponent += ParseExponent(text);
  const double value = Scale(mantissa, exponent);
  if (!std::isfinite(value)) return 0;  // out of range: the lenient rule keeps the default
  return negative ? -value : value;
}

bool XMLToBool(const WChar* text) {
  return ParseInt(text) == 1;
}

int32_t XMLToInt(const WChar* text) {
  return WithoutMinimum(ParseInt(text));
}

std::vector<uint8_t> XMLToByteList(const WChar* text) {
  std::vector<uint8_t> values;
  ForEachListItem(text, [&](const WChar* begin, const WChar* end) {
    values.push_back(static_cast<uint8_t>(ParseIntRange(begin, end) & 0xFF));
  });
  return values;
}

std::vector<int32_t> XMLToIntList(const WChar* text) {
  std::vector<int32_t> values;
  ForEachListItem(text, [&](const WChar* begin, const WChar* end) {
    values.push_back(WithoutMinimum(ParseIntRange(begin, end)));
  });
  return values;
}
