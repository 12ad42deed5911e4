#pragma once
// The printed recipe: where each piece of a recipe goes on a Letter page or an index card, and the
// walk over a list of recipes with its pages and card slots. The layout decides positions and
// breaks; a PrintSurface measures and draws, on a printer's device context in the program and on a
// bitmap in the tests.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "food/Nutrients.h"
#include "food/Recipe.h"
#include "storage/Text.h"

struct Options;

// The print settings the main window keeps in the options.
struct PrintSettings {
  bool selected = true;        // selected rows, or every recipe of the chosen category
  bool details = false;        // full pages; index cards when false
  bool firstOnly = true;       // index cards: stop a recipe after its first card
  bool nutrition = true;       // index cards: print the nutrition block
  bool nutritionFull = false;  // all nutrients instead of the first five
  uint32_t margin = 0;         // full pages: 0..3 for 0.5, 1, 1.5 and 2 inches
  WString font = TXT("Arial");

  bool operator==(const PrintSettings& other) const;
  bool operator!=(const PrintSettings& other) const { return !(*this == other); }
};

PrintSettings PrintSettingsFrom(const Options& options);
void StorePrintSettings(const PrintSettings& settings, Options& options);

// The printable area of one recipe page or card, in device pixels.
struct PrintArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width = 0;  // the text width the ingredient columns share; on a full page not right - left
};

PrintArea FullPageArea(int dpiX, int dpiY, uint32_t margin);
PrintArea CardArea(int dpiX, int dpiY, int slot);  // slot 1..3
// The character height of the printing font from the device's vertical resolution.
int PrintFontHeight(int vertRes, int dpiY, bool fullPage);
int IngredientColumns(size_t lineCount, bool fullPage);

// What the layout draws onto. Positions are device pixels.
class PrintSurface {
 public:
  enum class Align { Left, Centre, Right };

  virtual ~PrintSurface() = default;
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  virtual int LineHeight() const = 0;
  virtual SIZE Measure(WStringView text) const = 0;
  // One line of text at y, placed between left and right.
  virtual void DrawLine(WStringView text, int left, int right, int y, Align align) = 0;
  virtual void DrawWord(WStringView word, int x, int y) = 0;
  // Word-wrapped text between left and right from y down; lines end at CR LF.
  virtual void DrawWrapped(WStringView text, int left, int right, int y) = 0;
  // Draws the picture file at its natural size; its height, 0 when it cannot be loaded.
  virtual int DrawPicture(const WString& path, int x, int y) = 0;
  // The picture's width without drawing it, 0 when it cannot be loaded.
  virtual int PictureWidth(const WString& path) = 0;
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
};

// The texts of the printed recipe, read once per job.
struct PrintTexts {
  WString serves, preparation, cooking, ingredients, instructions, nutrition, more;
  WString nutrientNames[Nutrient::kCount];
};

// Prints recipes one after another on a surface whose first page the caller started. Keeps its own
// copies of the settings and texts.
class RecipePrinter {
 public:
  RecipePrinter(PrintSurface& surface, const PrintSettings& settings, const PrintTexts& texts,
                const NutrientFormat& format, const WString& imagesFolder);

  // Every recipe with its page ends; the last page is ended too. False when ending or starting a
  // page failed, which stops the job.
  bool PrintAll(const std::vector<const Recipe*>& recipes);
  // One recipe at the current slot; false when a page could not be ended or begun.
  bool Print(const Recipe& recipe);
  int Slot() const { return slot_; }  // 0 on full pages, 1..3 for index cards

 private:
  bool Advance(bool moreFollow);
  bool NextPage();
  void Begin(int slot);
  void Newline() { y_ += lineHeight_; }
  void Centred(WStringView text, int left);
  // "Serves: 4", then the preparation and cooking times that are set.
  std::vector<WString> TimeTexts(const Recipe& recipe) const;
  WString JoinedTimes(const Recipe& recipe) const;  // the same on one line, two blanks apart
  void PrintTimes(const Recipe& recipe);
  // The text from y down in as many rows as it takes within the width, the rows after the first
  // indented by two blanks; the y below its last row.
  int PrintFitted(WStringView text, int left, int width, int y);
  void PrintIngredients(const Recipe& recipe);
  bool PrintInstructions(const Recipe& recipe);
  bool BreakInstructions(const Recipe& recipe, int& part);
  void PrintPicture(const Recipe& recipe);
  void PrintNutrition(const Recipe& recipe);
  WString NutritionText(const Recipe& recipe) const;

  PrintSurface& surface_;
  const PrintSettings settings_;
  const PrintTexts texts_;
  const NutrientFormat format_;
  WString imagesFolder_;
  int lineHeight_;
  int slot_;
  bool pageOpen_ = true;
  bool recipeEnded_ = false;
  PrintArea area_;
  int x_ = 0;
  int y_ = 0;
};

// The line as printed: its own text, or amount, unit and the ingredient's name.
WString PrintedLineText(const RecipeLine& line);
