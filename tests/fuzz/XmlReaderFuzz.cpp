// The pull reader on any text: the root search with its 8-bit fallback, every tag, every leaf value
// and the value conversions, in the calling pattern of the program's readers.
#include "FuzzInput.h"
#include "storage/XMLDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XMLDoc doc;
  doc.SetText(FileText(data, size));
  doc.FindRoot(TXT("RECIPELIST"));
  while (const WChar* tag = doc.NextTag()) {
    doc.Progress();
    const WChar* value = doc.ReadValue(tag);
    if (!value) continue;
    XMLUnescape(value);
    ParseInt(value);
    ParseReal(value);
    XMLToBool(value);
    XMLToByteList(value);
    XMLToIntList(value);
  }
  doc.ReadValue(TXT("A"));  // after the last tag: the text may end inside one ("<ROOT><A/")
  return 0;
}
