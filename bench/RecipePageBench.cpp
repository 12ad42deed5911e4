// The web page reader on hostile pages without JSON-LD: end tags of elements that are not open,
// properties whose elements are never closed, properties nested in themselves, a recipe under deep
// nesting, a tag of very many attributes, very many tag names, a recipe card of unclosed parts,
// and a plain microdata page for comparison. Prints one table: the median wall-clock and CPU time
// of three readings (the CPU time is the steadier on a shared machine) and the peak memory of the
// process that made and read the page.
//
//   recipe_page_bench [KB ...]
//
// Sizes default to 1, 5 and 10 MB. Each page is made and read in a process of its own, limited to
// 4 GB of address space and 120 seconds.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "webrecipe/WebRecipe.h"

namespace {

constexpr const char* kHead =
    "<html><body><div itemscope itemtype=\"https://schema.org/Recipe\"><h1 itemprop=\"name\">Cake</h1>"
    "<meta itemprop=\"recipeYield\" content=\"4\">";
constexpr const char* kTail = "</div></body></html>";

// The text repeated until the page holds bytes more.
void Fill(std::string& page, const std::string& text, size_t bytes) {
  for (const size_t end = page.size() + bytes; page.size() < end;) page += text;
}

std::string Wrapped(const std::string& body) {
  return kHead + body + kTail;
}

// Half of the page open divs inside a list, the other half end tags of elements not open between
// list items.
std::string UnmatchedEndTags(size_t bytes) {
  std::string body = "<ul>";
  Fill(body, "<div>", bytes / 2);
  Fill(body, "</span></table><li itemprop=\"recipeIngredient\">1 egg</li>", bytes / 2);
  return Wrapped(body + "</ul>");
}

// Ingredients, steps and names whose elements are never closed.
std::string UnclosedProperties(size_t bytes) {
  std::string body;
  Fill(body,
       "<span itemprop=\"recipeIngredient\">1 cup flour <div itemprop=\"recipeInstructions\">Stir well. "
       "<b itemprop=\"name\">Cake ",
       bytes);
  return Wrapped(body);
}

// Ingredients nested in each other, each closed.
std::string NestedProperties(size_t bytes) {
  std::string body;
  Fill(body, "<span itemprop=\"recipeIngredient\">1 egg ", bytes / 2);
  Fill(body, "</span>", bytes / 2);
  return Wrapped(body);
}

// The recipe inside divs nested half the page deep.
std::string DeepNesting(size_t bytes) {
  std::string page;
  Fill(page, "<div>", bytes / 2);
  const size_t depth = page.size() / 5;
  page += Wrapped("<ul><li itemprop=\"recipeIngredient\">1 egg</li></ul>");
  for (size_t i = 0; i < depth; ++i) page += "</div>";
  return page;
}

// A long recipe as sites write it: list items, links, paragraphs, an author item and page chrome.
std::string MicrodataPage(size_t bytes) {
  std::string body =
      "<div itemprop=\"author\" itemscope itemtype=\"https://schema.org/Person\"><span "
      "itemprop=\"name\">Pat</span></div><ul>";
  Fill(body,
       "<li itemprop=\"recipeIngredient\"><span class=\"amount\">1 1/2</span> cups <a href=\"/flour\">"
       "flour</a>, sifted</li>\n",
       bytes * 2 / 5);
  body += "</ul><ol>";
  Fill(body,
       "<li itemprop=\"recipeInstructions\"><p>Mix the flour &amp; sugar; bake at 350&deg;F.</p></li>\n",
       bytes * 2 / 5);
  body += "</ol>";
  Fill(body, "<div class=\"ad\"><p>More <b>recipes</b> <a href=\"/more\">here</a></p></div>\n", bytes / 5);
  return Wrapped(body);
}

// One tag of a million attributes around the ingredient.
std::string ManyAttributes(size_t bytes) {
  std::string body = "<span itemprop=\"recipeIngredient\" ";
  Fill(body, "a=b ", bytes);
  return Wrapped(body + ">1 egg</span>");
}

// Elements of a million different names, none closed.
std::string ManyTagNames(size_t bytes) {
  std::string body;
  for (size_t i = 0; body.size() < bytes; ++i) body += "<a" + std::to_string(i) + ">";
  return Wrapped(body);
}

// A plug-in's recipe card without structured data, its parts nested in each other and never closed.
std::string UnclosedCard(size_t bytes) {
  std::string page = "<div class=\"tasty-recipes\"><h2 class=\"tasty-recipes-title\">Cake</h2>";
  Fill(page,
       "<div class=\"tasty-recipes-ingredients\"><li>1 egg <span class=\"wprm-recipe-ingredient\">2 eggs "
       "<div class=\"wprm-recipe\"><p class=\"tasty-recipes-instructions\">Stir. ",
       bytes);
  return page;
}

struct Kind {
  const char* name;
  std::string (*make)(size_t bytes);
};
constexpr Kind kKinds[] = {
    {"unmatched end tags", UnmatchedEndTags}, {"unclosed properties", UnclosedProperties},
    {"nested properties", NestedProperties},  {"deep nesting", DeepNesting},
    {"many attributes", ManyAttributes},      {"many tag names", ManyTagNames},
    {"microdata page", MicrodataPage},        {"unclosed card", UnclosedCard}};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

double CpuMillis() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Makes and reads the page three times, printing the row with the median times; runs in a process of
// its own.
void Measure(const Kind& kind, size_t kilobytes) {
  const std::string page = kind.make(kilobytes * 1024);
  std::vector<double> wall, cpu;
  size_t lines = 0;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuMillis();
    const ImportedRecipe recipe = ReadRecipePage(page, "https://example.com/");
    cpu.push_back(CpuMillis() - cpuStart);
    wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    lines = recipe.lines.size();
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf("| %-20s | %8.2f | %9.1f | %9.1f | %7.1f | %8zu |\n", kind.name, page.size() / 1048576.0,
              wall[1], cpu[1], PeakMegabytes(), lines);
}

void MeasureApart(const Kind& kind, size_t kilobytes) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const rlimit memory{4ull << 30, 4ull << 30};
    setrlimit(RLIMIT_AS, &memory);
    alarm(120);
    try {
      Measure(kind, kilobytes);
    } catch (const std::exception& e) {
      std::printf("| %-20s | %6zu K | %s\n", kind.name, kilobytes, e.what());
    }
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) std::printf("| %-20s | %6zu K | stopped after 120 s\n", kind.name, kilobytes);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  if (sizes.empty()) sizes = {1024, 5 * 1024, 10 * 1024};
  std::printf("| %-20s | %8s | %9s | %9s | %7s | %8s |\n", "page", "MB", "ms", "CPU ms", "peak MB", "lines");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(22, '-').c_str(), std::string(10, '-').c_str(),
              std::string(11, '-').c_str(), std::string(11, '-').c_str(), std::string(9, '-').c_str(),
              std::string(10, '-').c_str());
  for (const size_t kilobytes : sizes)
    for (const Kind& kind : kKinds) MeasureApart(kind, kilobytes);
  return 0;
}
