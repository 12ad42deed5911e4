// File object and file operations on real files: natively through the POSIX calls, under Wine
// through the Win32 ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <tuple>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "storage/Files.h"
#include "storage/StorageTestSupport.h"
#include "storage/XMLDoc.h"

using storage_test::ReadFile;
using storage_test::ScratchFolder;
using storage_test::WriteFile;

namespace {
#ifdef _WIN32
constexpr uint32_t kFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
constexpr uint32_t kInUse = 32;        // ERROR_SHARING_VIOLATION
constexpr uint32_t kIsFolder = 5;      // ERROR_ACCESS_DENIED
constexpr uint32_t kDiskFull = 112;    // ERROR_DISK_FULL
#else
constexpr uint32_t kFileNotFound = ENOENT;
constexpr uint32_t kInUse = EWOULDBLOCK;
constexpr uint32_t kIsFolder = EISDIR;
constexpr uint32_t kDiskFull = ENOSPC;
#endif
}  // namespace

TEST(FileHandle, MissingFileAndFolderFailWithTheSystemCode) {
  ScratchFolder folder;
  FileHandle file(folder / TXT("missing.txt"));
  EXPECT_FALSE(file.OpenRead());
  EXPECT_EQ(kFileNotFound, file.lastError);
  char buffer[4];
  uint32_t done = 99;
  EXPECT_FALSE(file.Read(buffer, sizeof buffer, done));
  EXPECT_EQ(std::tuple(0u, kFileNotFound), std::tuple(done, file.lastError));
  WString text = TXT("old");
  EXPECT_FALSE(file.ReadAllText(text));
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(file.Exists() || file.IsReadOnly());
  FileHandle folderFile(folder.Path());
  EXPECT_FALSE(folderFile.OpenRead());
  EXPECT_EQ(kIsFolder, folderFile.lastError);
}

// Reading closes the writer and reads what it wrote, then the end; a writer flushes what it wrote.
TEST(FileHandle, WriteReplacesAndReadReportsWhatThereWas) {
  ScratchFolder folder;
  const WString path = folder / TXT("data.bin");
  ASSERT_TRUE(WriteFile(path, "a much longer first content"));
  FileHandle file(path);
  ASSERT_TRUE(file.Write("0123456789", 10));
  char buffer[32] = {};
  for (const std::string expected : {"0123456789", ""}) {
    uint32_t done = 99;
    ASSERT_TRUE(file.Read(buffer, sizeof buffer, done));
    EXPECT_EQ(expected, std::string(buffer, done));
  }
  file.Close();
  ASSERT_TRUE(file.Write("x", 1));
  EXPECT_TRUE(file.Flush());
  file.Close();
  EXPECT_EQ("x", ReadFile(path));
}

// An empty text still truncates the file.
TEST(FileHandle, TextIsUtf16LittleEndianAndAnOddLastByteIsDropped) {
  ScratchFolder folder;
  const WString path = folder / TXT("text.xml");
  FileHandle writer(path);
  ASSERT_TRUE(writer.WriteAllText(TXT("A\u00E9\u20AC")));
  writer.Close();
  EXPECT_EQ(std::string("A\0\xE9\0\xAC\x20", 6), ReadFile(path));
  ASSERT_TRUE(WriteFile(path, std::string("A\0B\0C", 5)));
  WString text;
  FileHandle reader(path);
  ASSERT_TRUE(reader.ReadAllText(text));
  EXPECT_EQ(WString(TXT("AB")), text);
  EXPECT_EQ(WString(TXT("AB")), WString(text.c_str()));  // not even past the text's end
  reader.Close();
  ASSERT_TRUE(writer.WriteAllText(WString()));
  writer.Close();
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(std::string(), ReadFile(path));
}

TEST(FileHandle, WritersExcludeEveryoneAndReadersShare) {
  ScratchFolder folder;
  const WString path = folder / TXT("shared.txt");
  FileHandle writer(path);
  ASSERT_TRUE(writer.Write("abc", 3));
  FileHandle second(path);
  EXPECT_FALSE(second.Write("x", 1));
  EXPECT_EQ(kInUse, second.lastError);
  FileHandle reader(path);
  EXPECT_FALSE(reader.OpenRead());
  EXPECT_EQ(kInUse, reader.lastError);
  EXPECT_TRUE(FileExists(path)) << "a file another holds is still there";
  writer.Close();
  EXPECT_EQ(std::string("abc"), ReadFile(path));  // the refused writer truncated nothing

  ASSERT_TRUE(reader.OpenRead());
  FileHandle otherReader(path);
  EXPECT_TRUE(otherReader.OpenRead());
  EXPECT_FALSE(second.OpenWrite());
  EXPECT_EQ(kInUse, second.lastError);
}

#ifndef _WIN32
// Caps the size of the files the process writes while it lives: a write past the cap fails with
// EFBIG (instead of raising SIGXFSZ), and a writer that never stops cannot fill the disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = std::min(bytes, old_.rlim_max);
    EXPECT_EQ(0, setrlimit(RLIMIT_FSIZE, &limit));
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  void (*previous_)(int);
  rlimit old_{};
};

// A write or read the system refuses (at the file size limit partway, or on a descriptor open for
// writing only) fails with the system's code instead of trying again; a write keeps what it wrote.
// A write that succeeds, and the end of a file, end the call whatever an earlier call left in errno.
TEST(FileHandle, RefusedWriteOrReadFailsWithTheSystemCode) {
  ScratchFolder folder;
  const WString path = folder / TXT("big.bin");
  FileHandle file(path);
  {
    FileSizeLimit limit(10);
    errno = EINTR;
    EXPECT_TRUE(file.Write("abc", 3));
    EXPECT_FALSE(file.Write("twenty bytes of data", 20));
  }
  EXPECT_EQ(static_cast<uint32_t>(EFBIG), file.lastError);
  file.Close();
  EXPECT_EQ("abctwenty ", ReadFile(path));
  char buffer[16];
  uint32_t done = 0;
  ASSERT_TRUE(file.OpenRead());
  for (const uint32_t expected : {10u, 0u}) {
    errno = EINTR;
    EXPECT_TRUE(file.Read(buffer, sizeof buffer, done));
    EXPECT_EQ(expected, done);
  }
  file.Close();
  file.handle = open(ToUtf8(path).c_str(), O_WRONLY);
  ASSERT_TRUE(file.IsOpen());
  file.openForRead = true;
  done = 99;
  EXPECT_FALSE(file.Read(buffer, sizeof buffer, done));
  EXPECT_EQ(0u, done);
  EXPECT_EQ(static_cast<uint32_t>(EBADF), file.lastError);
}

// Descriptor 0 is a file like any other: a process started without standard input still writes
// and reads its files, and an open that is refused gives descriptor 0 back.
TEST(FileHandle, FileOnDescriptorZeroOpens) {
  ScratchFolder folder;
  const WString path = folder / TXT("first.bin");
  FileHandle holder(path);
  ASSERT_TRUE(holder.Write("held", 4));
  const int input = dup(0);
  close(0);
  FileHandle refused(path);
  const bool refusedOpen = refused.OpenRead();  // the holder excludes readers
  const bool zeroFree = fcntl(0, F_GETFD) == -1;
  holder.Close();
  FileHandle writer(path);
  const bool written = writer.Write("zero", 4);
  const FileHandle::SystemHandle writeHandle = writer.handle;
  writer.Close();
  FileHandle reader(path);
  const bool opened = reader.OpenRead();
  const FileHandle::SystemHandle readHandle = reader.handle;
  reader.Close();
  if (input >= 0) {
    dup2(input, 0);
    close(input);
  }
  EXPECT_EQ(std::tuple(false, true, true, true, 0, 0),
            std::tuple(refusedOpen, zeroFree, written, opened, writeHandle, readHandle));
  EXPECT_EQ("zero", ReadFile(path));
}
#endif

// Copy and move replace the target; delete removes read-only files too.
TEST(FileOperations, CopyMoveAndDelete) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / TXT("new.xml"), "catalog"));
  ASSERT_TRUE(WriteFile(folder / TXT("old.xml"), "an older and longer backup"));
  EXPECT_TRUE(CopyFileTo(folder / TXT("new.xml"), folder / TXT("old.xml")));
  EXPECT_EQ(std::string("catalog"), ReadFile(folder / TXT("old.xml")));
  EXPECT_FALSE(CopyFileTo(folder / TXT("missing.xml"), folder / TXT("x.xml")));
  EXPECT_FALSE(FileExists(folder / TXT("x.xml")));
  ASSERT_TRUE(WriteFile(folder / TXT("new.xml"), "new"));
  EXPECT_TRUE(MoveFileTo(folder / TXT("new.xml"), folder / TXT("old.xml")));
  EXPECT_EQ(std::vector<WString>{TXT("old.xml")}, folder.Names());
  EXPECT_EQ(std::string("new"), ReadFile(folder / TXT("old.xml")));
  EXPECT_FALSE(MoveFileTo(folder / TXT("gone.xml"), folder / TXT("other.xml")));
  const WString path = folder / TXT("old.xml");
  std::filesystem::permissions(storage_test::SystemPath(path), std::filesystem::perms::owner_read |
                                                                   std::filesystem::perms::group_read |
                                                                   std::filesystem::perms::others_read);
  ASSERT_TRUE(FileHandle(path).IsReadOnly());
  EXPECT_TRUE(DeleteFileAt(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(DeleteFileAt(path));
}

// A rename that only changes case ends with the new case; it passes through source + ".rename",
// and fails, keeping the source, where that name is taken.
TEST(FileOperations, CaseOnlyMovePassesThroughTheRenameName) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / TXT("recipes.xml"), "r"));
  ASSERT_TRUE(WriteFile(folder / TXT("recipes.xml.rename"), "in the way"));
  EXPECT_FALSE(MoveFileTo(folder / TXT("recipes.xml"), folder / TXT("Recipes.xml")));
  EXPECT_EQ((std::vector<WString>{TXT("recipes.xml"), TXT("recipes.xml.rename")}), folder.Names());
  EXPECT_EQ(std::string("r"), ReadFile(folder / TXT("recipes.xml")));
  ASSERT_TRUE(DeleteFileAt(folder / TXT("recipes.xml.rename")));
  EXPECT_TRUE(MoveFileTo(folder / TXT("recipes.xml"), folder / TXT("Recipes.XML")));
  EXPECT_EQ(std::vector<WString>{TXT("Recipes.XML")}, folder.Names());
  EXPECT_EQ(std::string("r"), ReadFile(folder / TXT("Recipes.XML")));
}

// All levels present: nothing to create, still a success; a file in the way is a failure.
TEST(FileOperations, CreateFoldersMakesEveryMissingLevelAndOpenAccessFilesAreUsable) {
  ScratchFolder folder;
  const WString deep = folder.Path() + TXT("Data\\Pictures/Small");
  EXPECT_TRUE(CreateFolders(deep, false));
  EXPECT_EQ(std::vector<WString>{TXT("Data")}, folder.Names());
  ASSERT_TRUE(WriteFile(deep + TXT("/probe.txt"), "x"));
  EXPECT_TRUE(CreateFolders(deep, false));
  EXPECT_TRUE(CreateFolders(deep + TXT("\\"), false));
  EXPECT_TRUE(FileExists(deep + TXT("/probe.txt")));
  // Open access: the levels made anew and again, and a file everyone may use written in them.
  const WString shared = folder.Path() + TXT("Shared\\Help");
  EXPECT_TRUE(CreateFolders(shared, true));
  EXPECT_TRUE(CreateFolders(shared, true));
  FileHandle help(shared + TXT("\\shared.xml"));
  ASSERT_TRUE(help.UseEveryoneAccess());
  ASSERT_TRUE(help.WriteAllText(TXT("<A/>")));
  help.Close();
  EXPECT_EQ(std::string("<\0A\0/\0>\0", 8), ReadFile(help.path));
  EXPECT_FALSE(CreateFolders(deep + TXT("/probe.txt"), false));
  EXPECT_FALSE(CreateFolders(deep + TXT("/probe.txt/below"), false));
}

// Save writes whatever text stands, closed or not, and keeps it; Load reads back the exact units.
TEST(XMLDocFiles, SaveAndLoadRoundTripTheExactUnits) {
  ScratchFolder folder;
  XMLDoc doc;
  doc.OpenElement(TXT("OPTIONS"));
  EXPECT_FALSE(doc.Save(folder / TXT("no/such/folder.xml")));
  EXPECT_NE(0u, doc.LastError());
  const WString path = folder / TXT("open.xml");
  ASSERT_TRUE(doc.Save(path));
  EXPECT_EQ(0u, doc.LastError());
  EXPECT_EQ(std::string("<\0O\0P\0T\0I\0O\0N\0S\0>\0\r\0\n\0", 22), ReadFile(path));
  EXPECT_EQ(WString(TXT("<OPTIONS>\r\n")), doc.Output());
  doc.WriteString(TXT("FONT"), TXT("Caf\u00E9 \u20AC"));
  doc.CloseElement();
  ASSERT_TRUE(doc.Save(path));
  XMLDoc in;
  ASSERT_TRUE(in.Load(path));
  EXPECT_EQ(doc.Output(), in.Text());
  EXPECT_TRUE(in.FindRoot(TXT("OPTIONS")));
}

// Large and tiny files read whole, an odd last byte dropped; an empty file loads, a missing one not.
// An 8-bit file that ends right at its root's end tag reads whole, whether its length is even or
// odd: the odd last byte is the end tag's last character.
TEST(XMLDocFiles, EightBitFileEndingAtItsRootsEndTagReadsWhole) {
  ScratchFolder folder;
  const WString path = folder / TXT("catalog.xml");
  for (const std::string prefix : {"", "x"}) {
    ASSERT_TRUE(WriteFile(path, "<OPTIONS>\n<FONT>Caf\xE9</FONT>\n" + prefix + "</OPTIONS>"));
    XMLDoc doc;
    ASSERT_TRUE(doc.Load(path));
    EXPECT_TRUE(doc.FindRoot(TXT("OPTIONS"))) << prefix;
  }
}

TEST(XMLDocFiles, FilesOfAnySizeLoadAsTheirUnitsAndAnOddByteIsDropped) {
  ScratchFolder folder;
  for (size_t size : {(size_t{5} << 20) + 4097, size_t{3}}) {
    SCOPED_TRACE(size);
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
    const WString path = folder / TXT("large.xml");
    ASSERT_TRUE(WriteFile(path, bytes));
    FileHandle file(path);
    std::unique_ptr<WChar[]> units;
    size_t count = 0;
    ASSERT_TRUE(file.ReadAllUnits(units, count));
    ASSERT_EQ(size / 2, count);
    EXPECT_EQ(bytes.substr(0, size / 2 * 2),
              std::string(reinterpret_cast<const char*>(units.get()), count * 2));
  }
  // An empty file loads but has no root. (An 8-bit file from another tool: XMLDocReader's tests read
  // its units as loaded here.)
  XMLDoc empty;
  ASSERT_TRUE(WriteFile(folder / TXT("empty.xml"), ""));
  EXPECT_TRUE(empty.Load(folder / TXT("empty.xml")));
  EXPECT_TRUE(empty.Text().empty());
  EXPECT_FALSE(empty.FindRoot(TXT("OPTIONS")));
  XMLDoc missing;
  EXPECT_FALSE(missing.Load(folder / TXT("missing.xml")));
  EXPECT_EQ(kFileNotFound, missing.LastError());
  EXPECT_TRUE(missing.Text().empty());
}

// ---- what can go wrong while a file is replaced ----

namespace {
// Lifts the simulated full disk when the test ends, whatever it asserted.
struct FullDiskAfter {
  explicit FullDiskAfter(uint64_t bytes) { LimitWrites(bytes); }
  ~FullDiskAfter() { LimitWrites(kUnlimitedWrites); }
};

std::string Bytes(const WString& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(WChar));
}
}  // namespace

// New content takes the old one's place and nothing else stays; a disk that fills up on the way
// leaves the old file and no temporary one.
TEST(ReplaceFile, FullDiskHalfwayLeavesTheOldFileAndNoTemporaryOne) {
  const struct {
    const char* what;
    uint64_t bytesBeforeFull;
  } cases[] = {
      {"all fits", kUnlimitedWrites}, {"nothing fits", 0}, {"half fits", 8}, {"all but the last byte", 15}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const WString path = folder / TXT("Recipes.xml");
    ASSERT_TRUE(WriteFile(path, "the old catalog, longer than the new one"));
    const bool fits = c.bytesBeforeFull == kUnlimitedWrites;
    uint32_t error = 1;
    {
      FullDiskAfter full(c.bytesBeforeFull);
      EXPECT_EQ(fits, ReplaceFileContents(path, "sixteen new byte", 16, error));
    }
    EXPECT_EQ(fits ? 0u : kDiskFull, error);
    EXPECT_EQ(fits ? "sixteen new byte" : "the old catalog, longer than the new one", ReadFile(path));
    EXPECT_EQ(std::vector<WString>{TXT("Recipes.xml")}, folder.Names());
  }
}

TEST(ReplaceFile, StreamedXmlSaveWritesTheSameBytesHoldingAChunkAtMostAndFailsWhole) {
  const auto write = [](XMLDoc& doc) {
    doc.OpenElement(TXT("INGREDIENTS"));
    for (int n = 0; n < 60000; ++n)
      doc.WriteString(TXT("FOODNAME"), TXT("Crème fraîche ") + FromAscii(std::to_string(n)));
    doc.CloseElement();
  };
  ScratchFolder folder;
  const WString path = folder / TXT("Ingredients.xml");
  XMLDoc held;
  write(held);
  ASSERT_GT(held.Output().size(), 2 * XMLDoc::kStreamChunk);
  XMLDoc streamed;
  streamed.StreamTo(path);
  write(streamed);
  EXPECT_LE(streamed.Output().size(), XMLDoc::kStreamChunk);
  ASSERT_TRUE(streamed.Save(path));
  EXPECT_EQ(Bytes(held.Output()), ReadFile(path));

  const std::string saved = ReadFile(path);
  {
    FullDiskAfter full(3 * XMLDoc::kStreamChunk);
    XMLDoc failing;
    failing.StreamTo(path);
    write(failing);
    EXPECT_FALSE(failing.Save(path));
    EXPECT_NE(0u, failing.LastError());
  }
  {
    XMLDoc dropped;  // a save that never completes (an exception on the way)
    dropped.StreamTo(path);
    write(dropped);
  }
  EXPECT_EQ(saved, ReadFile(path));
  EXPECT_EQ(std::vector<WString>{TXT("Ingredients.xml")}, folder.Names());
}

TEST(ReplaceFile, XmlSaveAndBackupCopyGoThroughTheReplacement) {
  ScratchFolder folder;
  const WString path = folder / TXT("FoodDiary.xml");
  XMLDoc doc;
  doc.WriteString(TXT("NAME"), TXT("Lunch"));
  ASSERT_TRUE(doc.Save(path));
  const std::string saved = ReadFile(path);
  EXPECT_EQ(Bytes(TXT("<NAME>Lunch</NAME>\r\n")), saved);

  XMLDoc longer;
  longer.WriteString(TXT("NAME"), TXT("A much longer dinner"));
  {
    FullDiskAfter full(10);
    EXPECT_FALSE(longer.Save(path));
  }
  EXPECT_NE(0u, longer.LastError());
  EXPECT_EQ(saved, ReadFile(path));

  uint32_t error = 0;
  const WString backup = path + TXT(".bak");
  ASSERT_TRUE(WriteFile(backup, "older backup"));
  {
    FullDiskAfter full(4);
    EXPECT_FALSE(ReplaceFileWithCopy(path, backup, error));
  }
  EXPECT_EQ("older backup", ReadFile(backup));
  ASSERT_TRUE(ReplaceFileWithCopy(path, backup, error));
  EXPECT_EQ(saved, ReadFile(backup));
  EXPECT_FALSE(ReplaceFileWithCopy(folder / TXT("missing.xml"), backup, error));
  EXPECT_EQ(kFileNotFound, error);
  EXPECT_EQ(saved, ReadFile(backup));
}
