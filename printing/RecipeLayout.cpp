#include "printing/RecipeLayout.h"

#include "app/Options.h"
#include "food/NumberText.h"
#include "food/Units.h"
#include "storage/Paths.h"

bool PrintSettings::operator==(const PrintSettings& other) const {
  return selected == other.selected && details == other.details && firstOnly == other.firstOnly &&
         nutrition == other.nutrition && nutritionFull == other.nutritionFull && margin == other.margin &&
         font == other.font;
}

PrintSettings PrintSettingsFrom(const Options& options) {
  PrintSettings settings;
  settings.selected = options.printSelected;
  settings.details = options.printDetails;
  settings.firstOnly = options.printFirst;
  settings.nutrition = options.printNutrition;
  settings.nutritionFull = options.printNutritionFull;
  settings.margin = options.margin;
  settings.font = options.font;
  return settings;
}

void StorePrintSettings(const PrintSettings& settings, Options& options) {
  options.printSelected = settings.selected;
  options.printDetails = settings.details;
  options.printFirst = settings.firstOnly;
  options.printNutrition = settings.nutrition;
  options.printNutritionFull = settings.nutritionFull;
  options.margin = settings.margin;
  options.font = settings.font;
}

PrintArea FullPageArea(int dpiX, int dpiY, uint32_t margin) {
  const int m = static_cast<int>(margin > 3 ? 3 : margin) + 1;  // half inches
  const int k = margin == 0 ? 3 : 2;
  PrintArea area;
  area.left = m * (dpiX / 2);
  area.top = m * (dpiY / 2);
  area.width = 17 * dpiX / 2 - k * area.left;
  area.right = area.width + dpiX;
  area.bottom = 22 * dpiY / 2 - k * area.top + dpiY;
  return area;
}

PrintArea CardArea(int dpiX, int dpiY, int slot) {
  PrintArea area;
  area.left = 7 * dpiX / 4;
  area.width = 17 * dpiX / 4;
  area.right = area.left + area.width;
  area.top = (12 * slot - 7) * dpiY / 4 - dpiY / 4;
  area.bottom = area.top + 5 * dpiY / 2 + dpiY / 4;
  return area;
}

int PrintFontHeight(int vertRes, int dpiY, bool fullPage) {
  return (vertRes - 2 * dpiY) / (fullPage ? 55 : 70);
}

int IngredientColumns(size_t lineCount, bool fullPage) {
  if (!fullPage) return lineCount <= 4 ? 1 : 2;
  return lineCount <= 9 ? 1 : lineCount <= 20 ? 2 : 3;
}

WString PrintedLineText(const RecipeLine& line) {
  if (!line.displayName.empty() || line.ingredient == nullptr) return line.displayName;
  WString text;
  FormatAmount(text, static_cast<ServingUnit>(line.unit), line.ingredient->type, line.amount, UnitNames());
  return text + TXT(' ') + line.ingredient->name;
}

namespace {

// The text in pieces no wider than `width`, broken at blanks, the pieces after the first `indent`
// narrower; a word wider than a whole piece ends in an ellipsis where it fits. At least one piece,
// so that an empty text still takes its row.
std::vector<WString> FitLines(const PrintSurface& surface, WStringView text, int width, int indent) {
  static constexpr WChar kEllipsis[] = {0x2026, 0};
  const auto skipBlanks = [&] {
    while (!text.empty() && text.front() == TXT(' ')) text.remove_prefix(1);
  };
  std::vector<WString> pieces;
  skipBlanks();
  do {
    const int room = pieces.empty() ? width : width - indent;
    size_t end = text.size();
    while (end > 0 && surface.Measure(text.substr(0, end)).cx > room) {
      const size_t blank = text.find_last_of(TXT(' '), end - 1);
      end = blank == WStringView::npos ? 0 : text.find_last_not_of(TXT(' '), blank) + 1;
    }
    WString piece(text.substr(0, end));
    if (end == 0) {  // not even the first word fits
      end = std::min(text.find(TXT(' ')), text.size());
      piece.assign(text.substr(0, end));
      while (!piece.empty() && surface.Measure(piece + kEllipsis).cx > room) piece.pop_back();
      piece += kEllipsis;
    }
    pieces.push_back(std::move(piece));
    text.remove_prefix(end);
    skipBlanks();
  } while (!text.empty());
  return pieces;
}

}  // namespace

RecipePrinter::RecipePrinter(PrintSurface& surface, const PrintSettings& settings, const PrintTexts& texts,
                             const NutrientFormat& format, const WString& imagesFolder)
    : surface_(surface),
      settings_(settings),
      texts_(texts),
      format_(format),
      imagesFolder_(imagesFolder),
      lineHeight_(surface.LineHeight()),
      slot_(settings.details ? 0 : 1) {}

bool RecipePrinter::PrintAll(const std::vector<const Recipe*>& recipes) {
  for (size_t i = 0; i < recipes.size(); ++i) {
    if (!Print(*recipes[i]) || !Advance(i + 1 < recipes.size())) return false;
  }
  if (!pageOpen_) return true;
  pageOpen_ = false;
  return surface_.EndPage();
}

// After a recipe: a full page ends; a card moves to the next slot, the page ending after slot 3.
bool RecipePrinter::Advance(bool moreFollow) {
  if (slot_ != 0 && ++slot_ <= 3) return true;
  if (slot_ != 0) slot_ = 1;
  pageOpen_ = false;
  if (!surface_.EndPage()) return false;
  if (!moreFollow) return true;
  pageOpen_ = surface_.StartPage();
  return pageOpen_;
}

bool RecipePrinter::NextPage() {
  pageOpen_ = false;
  if (!surface_.EndPage() || !surface_.StartPage()) return false;
  pageOpen_ = true;
  return true;
}

void RecipePrinter::Begin(int slot) {
  slot_ = slot;
  area_ = slot == 0 ? FullPageArea(surface_.DpiX(), surface_.DpiY(), settings_.margin)
                    : CardArea(surface_.DpiX(), surface_.DpiY(), slot);
  x_ = area_.left;
  y_ = area_.top;
}

void RecipePrinter::Centred(WStringView text, int left) {
  surface_.DrawLine(text, left, area_.right, y_, PrintSurface::Align::Centre);
}

bool RecipePrinter::Print(const Recipe& recipe) {
  Begin(slot_);
  recipeEnded_ = false;
  Centred(recipe.name, area_.left);
  if (!recipe.custom.empty()) {
    Newline();
    Centred(recipe.custom, area_.left);
  }
  Newline();
  if (slot_ == 0)
    PrintTimes(recipe);
  else
    y_ = PrintFitted(JoinedTimes(recipe), area_.left, area_.width, y_);  // one line where it fits
  Newline();
  surface_.DrawLine(texts_.ingredients, area_.left, area_.right, y_, PrintSurface::Align::Left);
  Newline();
  PrintIngredients(recipe);
  if (!PrintInstructions(recipe)) return false;
  if (recipeEnded_) return true;
  if (slot_ == 0) PrintPicture(recipe);
  if (slot_ == 0 || settings_.nutrition) PrintNutrition(recipe);
  return true;
}

std::vector<WString> RecipePrinter::TimeTexts(const Recipe& recipe) const {
  std::vector<WString> texts{texts_.serves};
  AppendInteger(texts.front(), recipe.serves);
  if (recipe.prepHours != 0 || recipe.prepMinutes != 0)
    texts.push_back(texts_.preparation + DurationText(recipe.prepHours, recipe.prepMinutes));
  if (recipe.cookHours != 0 || recipe.cookMinutes != 0)
    texts.push_back(texts_.cooking + DurationText(recipe.cookHours, recipe.cookMinutes));
  return texts;
}

WString RecipePrinter::JoinedTimes(const Recipe& recipe) const {
  WString joined;
  for (const WString& text : TimeTexts(recipe)) joined += (joined.empty() ? WString() : TXT("  ")) + text;
  return joined;
}

void RecipePrinter::PrintTimes(const Recipe& recipe) {
  for (const WString& text : TimeTexts(recipe)) {
    Newline();
    surface_.DrawLine(text, area_.left, area_.right, y_, PrintSurface::Align::Left);
  }
  Newline();
}

int RecipePrinter::PrintFitted(WStringView text, int left, int width, int y) {
  const int indent = 2 * surface_.Measure(TXT(" ")).cx;
  int x = left;
  for (const WString& piece : FitLines(surface_, text, width, indent)) {
    surface_.DrawLine(piece, x, left + width, y, PrintSurface::Align::Left);
    x = left + indent;
    y += lineHeight_;
  }
  return y;
}

// The first column holds rows lines, each further one rows + 1.
void RecipePrinter::PrintIngredients(const Recipe& recipe) {
  if (recipe.lines.empty()) return;
  const int columns = IngredientColumns(recipe.lines.size(), slot_ == 0);
  const int rows = static_cast<int>(recipe.lines.size()) / columns;
  const int columnWidth = area_.width / columns;
  const int textWidth = columnWidth - 2 * surface_.Measure(TXT(" ")).cx;  // two blanks from the next
  const int firstRow = y_;
  int x = area_.left;
  int y = y_;
  int lowest = y_;
  int counter = 0;
  for (const RecipeLine& line : recipe.lines) {
    if (counter == rows) {
      x += columnWidth;
      y = firstRow;
      counter = 0;
    } else {
      ++counter;
    }
    y = PrintFitted(PrintedLineText(line), x, textWidth, y);
    if (y > lowest) lowest = y;
  }
  y_ = lowest;
}

bool RecipePrinter::PrintInstructions(const Recipe& recipe) {
  if (recipe.instructions.empty()) return true;
  Newline();
  surface_.DrawLine(texts_.instructions, area_.left, area_.right, y_, PrintSurface::Align::Left);
  Newline();
  const WString& text = recipe.instructions;
  const int blank = surface_.Measure(TXT(" ")).cx;
  int part = 1;
  x_ = area_.left;
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    while (i < text.size() && text[i] != TXT(' ') && text[i] != TXT('\t') && text[i] != TXT('\n') &&
           text[i] != TXT('\r'))
      ++i;
    if (i > start) {
      const WStringView word(text.data() + start, i - start);
      const SIZE size = surface_.Measure(word);
      if (x_ + size.cx >= area_.right) {
        Newline();
        x_ = area_.left;
      }
      if (y_ + size.cy >= area_.bottom) {
        if (!BreakInstructions(recipe, part)) return false;
        if (recipeEnded_) return true;
      }
      surface_.DrawWord(word, x_, y_);
      x_ += size.cx;
    }
    if (i == text.size()) break;
    const WChar ended = text[i++];
    if (ended == TXT('\t')) x_ += 8 * blank;
    if (ended == TXT(' ')) x_ += blank;
    if (ended == TXT('\n')) {
      Newline();
      x_ = area_.left;
    }
  }
  return true;
}

// The instructions go on on the next card or page under a header with the part's number.
bool RecipePrinter::BreakInstructions(const Recipe& recipe, int& part) {
  if (slot_ != 0) {
    surface_.DrawLine(texts_.more, area_.left, area_.right, y_, PrintSurface::Align::Right);
    if (settings_.firstOnly) {
      recipeEnded_ = true;
      return true;
    }
  }
  if (slot_ == 0 || slot_ == 3) {
    if (!NextPage()) return false;
    Begin(slot_ == 0 ? 0 : 1);
    if (slot_ == 0) y_ = surface_.DpiY() / 2;
  } else {
    Begin(slot_ + 1);
  }
  WString header = recipe.name + TXT(" (");
  AppendInteger(header, ++part);
  header += TXT(")");
  Centred(header, 0);
  y_ += 2 * lineHeight_;
  x_ = area_.left;
  return true;
}

void RecipePrinter::PrintPicture(const Recipe& recipe) {
  if (recipe.picture.empty()) return;
  Newline();
  const WString path = EnsureTrailing(imagesFolder_, TXT('\\')) + recipe.picture;
  const int width = surface_.PictureWidth(path);
  y_ += surface_.DrawPicture(path, (area_.right - width) / 2, y_);
}

void RecipePrinter::PrintNutrition(const Recipe& recipe) {
  y_ += 2 * lineHeight_;
  surface_.DrawLine(texts_.nutrition, area_.left, area_.right, y_, PrintSurface::Align::Left);
  Newline();
  surface_.DrawWrapped(NutritionText(recipe), area_.left, area_.right, y_);
}

WString RecipePrinter::NutritionText(const Recipe& recipe) const {
  static constexpr uint32_t kLineStarts[] = {5, 10, 15, 19, 24};
  const uint32_t count = settings_.nutritionFull ? Nutrient::kCount : 5;
  WString text;
  for (uint32_t n = 0; n < count; ++n) {
    if (n != 0) {
      bool newLine = false;
      for (uint32_t start : kLineStarts) newLine = newLine || start == n;
      text += newLine ? TXT("\r\n") : TXT("  ");
    }
    text += texts_.nutrientNames[n] + TXT(" - ");
    FormatNutrient(text, n, true, false, recipe.nutrients[n], format_);
  }
  return text;
}
