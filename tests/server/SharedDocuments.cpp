#include "SharedDocuments.h"

#include "storage/XMLDoc.h"

namespace {

// One more embedded ingredient line, numbered so that every line names its own ingredient.
void WriteExtraLine(XMLDoc& doc, size_t number, bool withIds) {
  const WString digits = FromAscii(std::to_string(number));
  doc.OpenElement(TXT("INGREDIENT"));
  doc.WriteReal(TXT("AMOUNT"), 1.25);
  doc.WriteInt(TXT("TYPE"), 3);
  if (withIds) doc.WriteInt(TXT("ID"), 100 + number);
  doc.OpenElement(TXT("FOOD"));
  doc.WriteString(TXT("CATEGORY"), TXT("Vegetables & Herbs"));
  doc.WriteInt(TXT("FOODID"), 100 + number);
  doc.WriteString(TXT("FOODNAME"), TXT("Garden vegetable, diced <fresh> no. ") + digits);
  doc.WriteReal(TXT("SIZE"), 0.5);
  doc.WriteInt(TXT("TYPE"), 3);
  doc.WriteReal(TXT("OUNCES"), 2.75);
  doc.WriteReal(TXT("CAL"), 31.5);
  doc.WriteReal(TXT("PROTEIN"), 1.25);
  doc.CloseElement();
  doc.CloseElement();
}

WString Document(const TestRecipe& recipe, bool withIds) {
  XMLDoc doc;
  doc.OpenElement(TXT("RECIPELIST"));
  doc.OpenElement(TXT("RECIPES"));
  doc.OpenElement(TXT("RECIPE"));
  doc.OpenElement(TXT("INGREDIENTLIST"));
  doc.OpenElement(TXT("INGREDIENT"));
  doc.WriteReal(TXT("AMOUNT"), 2.5);
  doc.WriteInt(TXT("TYPE"), 2);
  if (withIds) doc.WriteInt(TXT("ID"), 12);
  doc.OpenElement(TXT("FOOD"));
  doc.WriteString(TXT("CATEGORY"), TXT("Beans & Peas"));
  doc.WriteInt(TXT("FOODID"), 12);
  doc.WriteString(TXT("FOODNAME"), TXT("Split peas"));
  doc.WriteReal(TXT("SIZE"), 1);
  doc.WriteInt(TXT("TYPE"), 2);
  doc.WriteReal(TXT("OUNCES"), 4.4);
  doc.WriteReal(TXT("CAL"), 455);
  doc.CloseElement();
  doc.CloseElement();
  doc.OpenElement(TXT("INGREDIENT"));
  doc.WriteInt(TXT("TYPE"), 0);
  doc.OpenElement(TXT("FOOD"));
  if (withIds) doc.WriteInt(TXT("CATID"), 9);
  doc.WriteInt(TXT("FOODID"), 13);
  doc.WriteString(TXT("FOODNAME"), TXT("Salt"));
  doc.WriteInt(TXT("TYPE"), 0);
  doc.CloseElement();
  doc.CloseElement();
  for (size_t n = 1; n <= recipe.extraLines; ++n) WriteExtraLine(doc, n, withIds);
  doc.CloseElement();
  doc.WriteString(TXT("INSTRUCTIONS"), recipe.instructions);
  doc.WriteInt(TXT("SERVES"), 4);
  if (withIds) doc.WriteInt(TXT("INGREDIENTID"), 77);
  doc.OpenElement(TXT("FOOD"));
  doc.WriteString(TXT("CATEGORY"), recipe.category);
  doc.WriteInt(TXT("FOODID"), 3);
  doc.WriteString(TXT("FOODNAME"), recipe.name);
  doc.WriteReal(TXT("SIZE"), 1);
  doc.WriteInt(TXT("TYPE"), 1);
  doc.WriteReal(TXT("CAL"), 284.375);
  doc.CloseElement();
  doc.CloseElement();
  doc.CloseElement();
  doc.CloseElement();
  return doc.Output();
}

// The platform's wide-character classification, as far as these tests use it: ASCII and Latin-1.
bool IsLetterOrDigit(WChar c) {
  const unsigned u = static_cast<uint16_t>(c);
  return (u >= '0' && u <= '9') || ((u | 32) >= 'a' && (u | 32) <= 'z') ||
         (u >= 0xC0 && u <= 0xFF && u != 0xD7 && u != 0xF7);
}

std::string Encode(WStringView text, const char* blank) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (WChar c : text) {
    const unsigned low = static_cast<uint16_t>(c) & 0xFF;
    if (IsLetterOrDigit(c)) {
      out += static_cast<char>(low);
    } else if (c == ' ') {
      out += blank;
    } else {
      out += '%';
      out += kHex[low >> 4];
      out += kHex[low & 15];
    }
  }
  return out;
}

}  // namespace

WString SharedDocument(const TestRecipe& recipe) {
  return Document(recipe, true);
}
WString SharedDocumentWithoutIds(const TestRecipe& recipe) {
  return Document(recipe, false);
}

std::string FormEncode(WStringView text) {
  return Encode(text, "+");
}
std::string QueryEncode(WStringView text) {
  return Encode(text, "%20");
}
