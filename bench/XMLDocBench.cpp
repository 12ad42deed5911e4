// Writes and reads back a catalog-like document of 100,000 elements with XMLDoc, next to pugixml
// parsing the same document as UTF-8 in place, and prints MB/s for each direction.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "storage/XMLDoc.h"

namespace {

constexpr int kRecords = 4000;
constexpr int kLeavesPerRecord = 24;  // with the record itself, 25 elements per record
constexpr int kElements = kRecords * (kLeavesPerRecord + 1);
static_assert(kElements == 100000, "the document has 100,000 elements");

const WChar* const kNutrients[] = {
    TXT("CAL"), TXT("FAT"),  TXT("SFAT"), TXT("CHOL"), TXT("SOD"),  TXT("CARB"), TXT("FIB"), TXT("SUG"),
    TXT("PRO"), TXT("VITA"), TXT("VITC"), TXT("CALC"), TXT("IRON"), TXT("POT"),  TXT("MAG"), TXT("ZINC")};

void WriteCatalog(XMLDoc& doc) {
  doc.OpenElement(TXT("INGREDIENTLIST"));
  const WString name = TXT("Cheese & crackers <large> ");
  for (int r = 0; r < kRecords; ++r) {
    doc.OpenElement(TXT("FOOD"));
    doc.WriteUInt(TXT("CATID"), 1 + r % 17);
    doc.WriteUInt(TXT("FOODID"), 1000 + r);
    doc.WriteBool(TXT("HIDDEN"), r % 10 == 0);
    doc.WriteString(TXT("FOODNAME"), name + FromAscii(std::to_string(r)));
    doc.WriteString(TXT("PICTURE"), r % 3 ? WString() : WString(TXT("pictures\\food.jpg")));
    doc.WriteReal(TXT("SIZE"), 1 + r % 4 * 0.25);
    doc.WriteInt(TXT("TYPE"), r % 22);
    doc.WriteReal(TXT("OUNCES"), 3.52739619 * (1 + r % 5));
    for (int n = 0; n < 16; ++n) doc.WriteReal(kNutrients[n], n % 5 == 4 ? 0.0 : (r + 1) * (n + 1) / 7.0);
    doc.CloseElement();
  }
  doc.CloseElement();
}

// Walks the document the way the catalog readers do: the root, its records, and inside a record
// every field's value cut out; with `convert` each value also goes through ParseReal.
int64_t ReadCatalog(XMLDoc& doc, bool convert) {
  if (!doc.FindRoot(TXT("INGREDIENTLIST"))) return -1;
  int64_t values = 0;
  double sum = 0;
  bool inRecord = false;
  while (const WChar* tag = doc.NextTag()) {
    if (inRecord) {
      inRecord = !doc.IsEndTag();  // the fields consume their own end tags: this is the record's
      if (!inRecord) continue;
      if (const WChar* value = doc.ReadValue(tag)) {
        sum += convert ? ParseReal(value) : value[0];
        ++values;
      }
    } else if (EqualsNoCase(tag, TXT("FOOD"))) {
      inRecord = !doc.IsEndTag();
    } else if (EqualsNoCase(tag, TXT("INGREDIENTLIST")) && doc.IsEndTag()) {
      break;
    }
  }
  benchmark::DoNotOptimize(sum);
  return values;
}

const WString& CatalogText() {
  static const WString text = [] {
    XMLDoc doc;
    WriteCatalog(doc);
    return doc.Output();
  }();
  return text;
}

const WString& CatalogPath() {
  static const WString path =
      FromUtf8((std::filesystem::temp_directory_path() / "mirepan-bench.xml").string());
  return path;
}

int64_t DocumentBytes() {
  return static_cast<int64_t>(CatalogText().size() * sizeof(WChar));
}

void SetRates(benchmark::State& state, int64_t bytes) {
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["elements/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kElements, benchmark::Counter::kIsRate);
}

void XMLDocWriteMemory(benchmark::State& state) {
  for (auto _ : state) {
    XMLDoc doc;
    WriteCatalog(doc);
    benchmark::DoNotOptimize(doc.Output().data());
  }
  SetRates(state, DocumentBytes());
}

void XMLDocWriteFile(benchmark::State& state) {
  for (auto _ : state) {
    XMLDoc doc;
    WriteCatalog(doc);
    if (!doc.Save(CatalogPath())) state.SkipWithError("save failed");
  }
  SetRates(state, DocumentBytes());
}

void XMLDocReadMemory(benchmark::State& state, bool convert) {
  XMLDoc doc;
  for (auto _ : state) {
    state.PauseTiming();
    doc.SetText(CatalogText());  // the copy, and freeing the last one, stay out of the timing
    state.ResumeTiming();
    if (ReadCatalog(doc, convert) <= 0) state.SkipWithError("nothing read");
  }
  SetRates(state, DocumentBytes());
}

void XMLDocReadFile(benchmark::State& state) {
  XMLDoc writer;
  WriteCatalog(writer);
  writer.Save(CatalogPath());
  for (auto _ : state) {
    XMLDoc doc;
    if (!doc.Load(CatalogPath()) || ReadCatalog(doc, false) <= 0) state.SkipWithError("load failed");
  }
  SetRates(state, DocumentBytes());
}

void PugixmlParseInPlace(benchmark::State& state) {
  const std::string utf8 = ToUtf8(CatalogText());
  std::string buffer;
  pugi::xml_document doc;
  for (auto _ : state) {
    state.PauseTiming();
    buffer = utf8;
    doc.reset();
    state.ResumeTiming();
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(&buffer[0], buffer.size());
    if (!parsed) state.SkipWithError("pugixml refused the document");
    benchmark::DoNotOptimize(doc.first_child());
  }
  SetRates(state, static_cast<int64_t>(utf8.size()));
}

BENCHMARK(XMLDocWriteMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(XMLDocWriteFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(XMLDocReadMemory, walk, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(XMLDocReadMemory, convert, true)->Unit(benchmark::kMillisecond);
BENCHMARK(XMLDocReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(PugixmlParseInPlace)->Unit(benchmark::kMillisecond);

// Keeps what the console shows and adds a summary: MB/s of each side's own text (UTF-16 for
// XMLDoc, UTF-8 for pugixml), and the processor time for the whole document against pugixml's; the
// machine may be shared, so processor time is the steadier measure.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  struct Row {
    std::string name;
    double milliseconds, megabytesPerSecond;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const auto bytes = run.counters.find("bytes_per_second");
      rows_.push_back({run.benchmark_name(), run.GetAdjustedCPUTime(),
                       bytes == run.counters.end() ? 0.0 : bytes->second.value / 1e6});
    }
  }

  void PrintSummary() const {
    double pugixml = 0;
    for (const Row& row : rows_) {
      if (row.name.rfind("Pugixml", 0) == 0) pugixml = row.milliseconds;
    }
    std::printf("\n%d elements, %.2f MB as UTF-16 (XMLDoc), %.2f MB as UTF-8 (pugixml)\n", kElements,
                DocumentBytes() / 1e6, ToUtf8(CatalogText()).size() / 1e6);
    std::printf("%-26s %12s %10s %14s\n", "", "CPU ms/doc", "MB/s", "time/pugixml");
    for (const Row& row : rows_)
      std::printf("%-26s %12.2f %10.1f %14.2f\n", row.name.c_str(), row.milliseconds, row.megabytesPerSecond,
                  pugixml > 0 ? row.milliseconds / pugixml : 0.0);
  }

 private:
  std::vector<Row> rows_;
};

}  // namespace

int main(int argc, char** argv) {
  // Freed memory stays with the process, so that every iteration measures the parsers and not
  // how fast this machine's kernel hands out fresh pages.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  std::error_code ignored;
  std::filesystem::remove(ToUtf8(CatalogPath()), ignored);
  benchmark::Shutdown();
  return 0;
}
