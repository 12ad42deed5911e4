// The options file: any content read as MirepanOptions.xml from a scratch folder.
#include <unistd.h>

#include <string>

#include "FuzzInput.h"
#include "app/Options.h"
#include "storage/Files.h"

namespace {

// One folder for the whole run, named after the process.
const WString& Folder() {
  static const WString folder = [] {
    const WString path = FromUtf8("/tmp/mirepan-fuzz-options-" + std::to_string(getpid()) + "/");
    CreateFolders(path, false);
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Options options(nullptr, Folder());
  {
    FileHandle file(options.optionsPath);
    if (!file.Write(data, static_cast<uint32_t>(size))) return 0;
  }
  options.Read();
  options.Differs(Options(nullptr, Folder()));
  return 0;
}
