// Uploaded recipe documents as the sharing server reads them; what it keeps reads again unchanged.
#include <string>

#include "FuzzInput.h"
#include "server/SharedRecipe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const std::optional<SharedRecipe> shared = ReadSharedRecipe(FileText(data, size), error);
  if (!shared) return 0;
  const std::optional<SharedRecipe> again = ReadSharedRecipe(shared->document, error);
  if (!again) {
    std::fprintf(stderr, "the kept document is refused: %s\n%s\n", error.c_str(),
                 ToUtf8(shared->document).c_str());
    std::abort();
  }
  ExpectSameText(shared->document, again->document, "shared recipe");
  return 0;
}
