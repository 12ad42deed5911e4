#pragma once
// The writer and in-place pull reader of every file the program keeps: one element per line,
// UTF-16LE without a byte-order mark, CR LF line ends, no attributes, no indentation.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "storage/Text.h"

class ReplacingFile;

class XMLDoc {
 public:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  static constexpr size_t kStreamChunk = size_t{1} << 20;  // characters held while streaming

  XMLDoc();
  ~XMLDoc();
  XMLDoc(XMLDoc&&) noexcept;
  XMLDoc& operator=(XMLDoc&&) noexcept;

  // Writing: every operation appends to the output text; only Save touches the disk.
  void OpenElement(const WChar* name);
  void CloseElement();
  void WriteString(const WChar* name, const WChar* text);
  void WriteString(const WChar* name, const WString& text);
  void WriteInt(const WChar* name, int32_t value);
  void WriteUInt(const WChar* name, uint32_t value);
  void WriteBool(const WChar* name, bool value);
  void WriteReal(const WChar* name, double value);
  void WriteByteList(const WChar* name, const std::vector<uint8_t>& values);
  void WriteIntList(const WChar* name, const std::vector<int32_t>& values);
  // From here on the output goes to `path` as it grows, through the temporary file of a
  // ReplacingFile, instead of being held whole (large catalogs); Save(path) completes it.
  void StreamTo(const WString& path);
  bool Save(const WString& path);
  // The output; while streaming, only the part not yet written.
  const WString& Output() const { return out_; }
  uint32_t LastError() const { return lastError_; }  // the system's code after a failed Save or Load

  // Reading: names and values point into the input text and stay valid while the document lives.
  bool Load(const WString& path);
  void SetText(WString text);  // reads from memory (downloaded documents, tests)
  bool FindRoot(const WChar* root);
  WChar* NextTag();
  WChar* ReadValue(const WChar* expected);
  bool IsEmptyTag() const { return emptyTag_; }
  bool IsEndTag() const { return endTag_; }
  int Progress() const;
  size_t Cursor() const { return cursor_; }
  void SetCursor(size_t cursor) { cursor_ = cursor; }
  WStringView Text() const { return {in_.get(), inSize_}; }

 private:
  WString out_;
  std::deque<WString> open_;
  // The input, read in place; fresh memory the reader fills without clearing it first.
  std::unique_ptr<WChar[]> in_;
  size_t inSize_ = 0;
  size_t cursor_ = 0;
  bool emptyTag_ = false;
  bool endTag_ = false;
  uint32_t lastError_ = 0;
  bool oddByte_ = false;  // the loaded file's odd last byte follows the input, for 8-bit text
  std::unique_ptr<ReplacingFile> stream_;

  void TakeText(WStringView text);
  WChar* Extend(size_t units);
  void WriteStream();
  void AppendEmpty(const WChar* name);
  void AppendTag(const WChar* prefix, const WChar* name, size_t nameLength);
  template <typename Fill>
  void AppendLeaf(const WChar* name, size_t valueLength, Fill fill);
  void AppendLeaf(const WChar* name, const WChar* value, size_t length);
  template <typename T>
  void AppendList(const WChar* name, const std::vector<T>& values);
};

// The real form WriteReal writes, also the number form of lists and CSV files: writes at most 48
// units to out and returns their number.
size_t FormatReal(double value, WChar* out);

// Value conversions of the raw text ReadValue returns.
void XMLUnescape(WString& text);  // in place: replaces the contents with the decoded text
WString XMLUnescape(const WChar* raw);
int32_t ParseInt(const WChar* text);  // the first run of digits, negative after a "-": "abc-3x" is -3
double ParseReal(const WChar* text);  // also reads the exponent of what WriteReal writes ("1e-005")
bool XMLToBool(const WChar* text);
int32_t XMLToInt(const WChar* text);
std::vector<uint8_t> XMLToByteList(const WChar* text);
std::vector<int32_t> XMLToIntList(const WChar* text);
