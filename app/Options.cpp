#include "app/Options.h"

#include <algorithm>
#include <tuple>

#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/XMLDoc.h"

namespace {

const WChar kRoot[] = TXT("OPTIONS");
const WChar kOptionsFile[] = TXT("MirepanOptions.xml");

// The settings of the file by kind: element name, field and the default that is not written.
struct TextSetting {
  const WChar* name;
  WString Options::*field;
  const WChar* byDefault;
};
struct IntSetting {
  const WChar* name;
  int32_t Options::*field;
  int32_t byDefault;
};
struct CountSetting {
  const WChar* name;
  uint32_t Options::*field;
};
struct FlagSetting {
  const WChar* name;
  bool Options::*field;
  bool byDefault;
};

const TextSetting kDbVersion = {TXT("DBVERSION"), &Options::dbVersion, TXT("")};
const TextSetting kBaseFolder = {TXT("BASEFOLDER"), &Options::baseFolder, TXT("")};
const TextSetting kFont = {TXT("FONT"), &Options::font, TXT("Arial")};
const TextSetting kServer = {TXT("SERVER"), &Options::server, TXT("")};
const TextSetting kTexts[] = {kDbVersion, kBaseFolder, kFont, kServer};
const IntSetting kPlacement[] = {{TXT("X"), &Options::x, 0},
                                 {TXT("Y"), &Options::y, 0},
                                 {TXT("WIDTH"), &Options::width, 0},
                                 {TXT("HEIGHT"), &Options::height, 0},
                                 {TXT("SPLITTER"), &Options::splitter, Options::kMinSplitter}};
const CountSetting kCounts[] = {{TXT("CURTAB"), &Options::curTab}, {TXT("MARGIN"), &Options::margin}};
const FlagSetting kDisplayFlags[] = {{TXT("AUTOBACKUP"), &Options::autoBackup, true},
                                     {TXT("DISPLAYPERCENT"), &Options::displayPercent, false},
                                     {TXT("ROUNDNUMBERS"), &Options::roundNumbers, true},
                                     {TXT("SHOWSTATUS"), &Options::showStatus, true},
                                     {TXT("TRACK"), &Options::track, true}};
const FlagSetting kPrintFlags[] = {{TXT("PRINTSELECTED"), &Options::printSelected, true},
                                   {TXT("PRINTDETAILS"), &Options::printDetails, false},
                                   {TXT("PRINTFIRST"), &Options::printFirst, true},
                                   {TXT("PRINTNUTRITION"), &Options::printNutrition, true},
                                   {TXT("PRINTNUTRITIONFULL"), &Options::printNutritionFull, false}};
const WChar kToolbar[] = TXT("TOOLBAR");

// The last download is stored as three numbers and combined once the whole file was read.
struct DownloadDate {
  int32_t month = 1, day = 1, year = 2000;
};
struct DatePart {
  const WChar* name;
  int32_t DownloadDate::*field;
};
const DatePart kDateParts[] = {
    {TXT("MON"), &DownloadDate::month}, {TXT("DAY"), &DownloadDate::day}, {TXT("YEAR"), &DownloadDate::year}};

struct Catalog {
  const WChar* file;
  WString Options::*path;
};
const Catalog kCatalogs[] = {{TXT("FoodDiary.xml"), &Options::diaryPath},
                             {TXT("Ingredients.xml"), &Options::ingredientsPath},
                             {TXT("Recipes.xml"), &Options::recipesPath},
                             {TXT("ShoppingList.xml"), &Options::shopListPath}};
const WChar kImages[] = TXT("Images\\");

void WriteText(XMLDoc& doc, const Options& options, const TextSetting& setting) {
  const WString& value = options.*setting.field;
  if (value != setting.byDefault) doc.WriteString(setting.name, value);
}

template <size_t N>
void WriteFlags(XMLDoc& doc, const Options& options, const FlagSetting (&flags)[N]) {
  for (const FlagSetting& flag : flags)
    if (options.*flag.field != flag.byDefault) doc.WriteBool(flag.name, options.*flag.field);
}

// Looks `tag` up in one table; a known tag's value, when it has one, goes to `apply`. True when
// the tag belongs to the table.
template <typename Table, typename Apply>
bool ReadFrom(XMLDoc& doc, WStringView tag, const Table& table, Apply apply) {
  for (const auto& setting : table) {
    if (!EqualsNoCase(tag, setting.name)) continue;
    if (const WChar* value = doc.ReadValue(setting.name)) apply(setting, value);
    return true;
  }
  return false;
}

void ReadSetting(XMLDoc& doc, WStringView tag, Options& o, DownloadDate& date) {
  if (EqualsNoCase(tag, kToolbar)) {
    if (const WChar* value = doc.ReadValue(kToolbar)) o.toolbarLayout = XMLToByteList(value);
    return;
  }
  ReadFrom(doc, tag, kTexts, [&](const TextSetting& s, const WChar* v) { o.*s.field = XMLUnescape(v); }) ||
      ReadFrom(doc, tag, kPlacement,
               [&](const IntSetting& s, const WChar* v) { o.*s.field = XMLToInt(v); }) ||
      ReadFrom(
          doc, tag, kCounts,
          [&](const CountSetting& s, const WChar* v) { o.*s.field = static_cast<uint32_t>(ParseInt(v)); }) ||
      ReadFrom(doc, tag, kDisplayFlags,
               [&](const FlagSetting& s, const WChar* v) { o.*s.field = XMLToBool(v); }) ||
      ReadFrom(doc, tag, kPrintFlags,
               [&](const FlagSetting& s, const WChar* v) { o.*s.field = XMLToBool(v); }) ||
      ReadFrom(doc, tag, kDateParts, [&](const DatePart& s, const WChar* v) { date.*s.field = ParseInt(v); });
}

auto AllFields(const Options& o) {
  return std::tie(o.baseFolder, o.dbVersion, o.optionsPath, o.font, o.diaryPath, o.ingredientsPath,
                  o.ingredientImages, o.recipesPath, o.recipeImages, o.shopListPath, o.server,
                  o.toolbarLayout, o.lastDownload, o.x, o.y, o.width, o.height, o.splitter, o.curTab,
                  o.margin, o.autoBackup, o.displayPercent, o.printDetails, o.printFirst, o.printNutrition,
                  o.printNutritionFull, o.printSelected, o.roundNumbers, o.showMessages, o.showStatus,
                  o.track, o.reloadNow);
}

}  // namespace

Options::Options(const DAVavador::ERApp* app, const WString& defaultFolder)
    : owner(app),
      baseFolder(EnsureTrailing(defaultFolder, TXT('\\'))),
      optionsPath(baseFolder + kOptionsFile) {}

bool Options::Read() {
  XMLDoc doc;
  if (!doc.Load(optionsPath) || !doc.FindRoot(kRoot)) return false;
  DownloadDate date;
  bool inside = false;
  while (const WChar* tag = doc.NextTag()) {
    if (EqualsNoCase(tag, kRoot)) {
      if (!doc.IsEndTag()) {
        inside = true;
      } else if (inside) {
        lastDownload.year = static_cast<uint32_t>(date.year);
        lastDownload.month = static_cast<uint32_t>(date.month);
        lastDownload.day = static_cast<uint32_t>(date.day);
        break;
      }
    } else if (inside) {
      ReadSetting(doc, tag, *this, date);
    }
  }
  splitter = std::max(splitter, kMinSplitter);
  return true;
}

bool Options::Write() const {
  XMLDoc doc;
  doc.OpenElement(kRoot);
  doc.WriteByteList(kToolbar, toolbarLayout);
  WriteText(doc, *this, kDbVersion);
  for (const IntSetting& setting : kPlacement)
    if (this->*setting.field != setting.byDefault) doc.WriteInt(setting.name, this->*setting.field);
  for (const CountSetting& setting : kCounts)
    if (this->*setting.field) doc.WriteUInt(setting.name, this->*setting.field);
  WriteText(doc, *this, kBaseFolder);
  doc.WriteUInt(TXT("MON"), lastDownload.month);
  doc.WriteUInt(TXT("DAY"), lastDownload.day);
  doc.WriteUInt(TXT("YEAR"), lastDownload.year);
  WriteFlags(doc, *this, kDisplayFlags);
  WriteText(doc, *this, kFont);
  WriteFlags(doc, *this, kPrintFlags);
  WriteText(doc, *this, kServer);
  doc.CloseElement();
  return doc.Save(optionsPath);
}

bool Options::Differs(const Options& other) const {
  return AllFields(*this) != AllFields(other);
}

void Options::DerivePaths(const WString& programFolder) {
  baseFolder = EnsureTrailing(baseFolder, TXT('\\'));
  // A folder typed into the Options dialog may not exist yet; the catalogs are saved there.
  if (!baseFolder.empty()) CreateFolders(baseFolder, false);
  for (const Catalog& catalog : kCatalogs) {
    WString& path = this->*catalog.path;
    path = baseFolder + catalog.file;
    if (FileExists(path) || programFolder.empty()) continue;
    // A catalog kept beside the program moves into the data folder; it is removed there only
    // once the copy exists.
    const WString beside = programFolder + catalog.file;
    if (FileExists(beside) && CopyFileTo(beside, path)) DeleteFileAt(beside);
  }
  ingredientImages = FolderOf(ingredientsPath) + kImages;
  recipeImages = FolderOf(recipesPath) + kImages;
}
