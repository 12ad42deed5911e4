#pragma once
// The HTTP downloader (WinINet). The file arrives in 4096-byte blocks in the local path followed by
// ".erxfer" and replaces the local file only once it is complete, so an interrupted transfer never
// leaves a half-written target. A cancelled or failed transfer leaves the local file as it was. A
// request without local path keeps the reply in memory instead. Either way the request's limits
// bound it: its size, the time a step may stall, ten redirects; and Cancel ends it at once.
#include "net/ERXfer.h"
#include "net/HttpReader.h"

namespace DAVavador {

// The address of a file: the base, the folder and the file joined with exactly one "/" before the
// folder and before the file; an empty folder adds nothing.
WString TransferAddress(const WString& base, const WString& folder, const WString& file);

class ERXferHTTP : public ERXfer {
 public:
  // `baseAddress` is the folder URL the request's paths are relative to, such as
  // "http://host:8080/mirepan/".
  explicit ERXferHTTP(WString baseAddress);
  ~ERXferHTTP() override;

  DWORD Download(TransferRequest& request, TransferProgress* window, uint32_t fromPercent,
                 uint32_t toPercent) override;
  void Finish() override;

  const WString& BaseAddress() const { return baseAddress_; }

  static constexpr uint32_t kBlockSize = HttpReader::kBlockSize;

 private:
  class Progress;
  bool Transfer(TransferRequest& request, Progress& progress);
  bool ToMemory(HttpReader& reader, const WString& address, DWORD flags, TransferRequest& request,
                Progress& progress);
  bool ToFile(HttpReader& reader, const WString& address, DWORD flags, TransferRequest& request,
              Progress& progress);
  bool Receive(HttpReader& reader, uint32_t size, TransferRequest& request, Progress& progress);

  WString baseAddress_;
};

}  // namespace DAVavador
