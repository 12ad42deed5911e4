#include "SharedDocuments.h"

#include <variant>

#include "storage/XMLDoc.h"

namespace {

// One step of writing a document with the program's writer: a tag without a value opens an element,
// no tag closes one, a tag with a value writes that value. The uploader's ids are left out without ids.
struct Field {
  const char* tag;
  std::variant<std::monostate, int, double, const char*, WString> value = {};
  bool uploaderId = false;
};
const Field kClose{nullptr};

void Write(XMLDoc& doc, bool withIds, std::initializer_list<Field> fields) {
  for (const Field& field : fields) {
    const WString tag = FromAscii(field.tag ? field.tag : "");
    const auto& value = field.value;
    if (field.uploaderId && !withIds) continue;
    if (!field.tag) doc.CloseElement();
    if (field.tag && value.index() == 0) doc.OpenElement(tag.c_str());
    if (const int* number = std::get_if<int>(&value)) doc.WriteInt(tag.c_str(), *number);
    if (const double* real = std::get_if<double>(&value)) doc.WriteReal(tag.c_str(), *real);
    if (const char* const* ascii = std::get_if<const char*>(&value))
      doc.WriteString(tag.c_str(), FromAscii(*ascii));
    if (const WString* text = std::get_if<WString>(&value)) doc.WriteString(tag.c_str(), *text);
  }
}

WString Document(const TestRecipe& recipe, bool withIds) {
  XMLDoc doc;
  // clang-format off
  Write(doc, withIds, {
      {"RECIPELIST"}, {"RECIPES"}, {"RECIPE"}, {"INGREDIENTLIST"},
      {"INGREDIENT"}, {"AMOUNT", 2.5}, {"TYPE", 2}, {"ID", 12, true},
      {"FOOD"}, {"CATEGORY", "Beans & Peas"}, {"FOODID", 12}, {"FOODNAME", "Split peas"}, {"SIZE", 1.0},
      {"TYPE", 2}, {"OUNCES", 4.4}, {"CAL", 455.0}, kClose, kClose,
      // A line without an amount, whose food carries the uploader's category id.
      {"INGREDIENT"}, {"TYPE", 0}, {"FOOD"}, {"CATID", 9, true}, {"FOODID", 13}, {"FOODNAME", "Salt"},
      {"TYPE", 0}, kClose, kClose});
  // Extra lines are numbered so that every line names its own ingredient.
  for (int n = 1; n <= static_cast<int>(recipe.extraLines); ++n) {
    Write(doc, withIds, {
        {"INGREDIENT"}, {"AMOUNT", 1.25}, {"TYPE", 3}, {"ID", 100 + n, true},
        {"FOOD"}, {"CATEGORY", "Vegetables & Herbs"}, {"FOODID", 100 + n},
        {"FOODNAME", FromAscii("Garden vegetable, diced <fresh> no. " + std::to_string(n))}, {"SIZE", 0.5},
        {"TYPE", 3}, {"OUNCES", 2.75}, {"CAL", 31.5}, {"PROTEIN", 1.25}, kClose, kClose});
  }
  Write(doc, withIds, {
      kClose, {"INSTRUCTIONS", recipe.instructions}, {"SERVES", 4}, {"INGREDIENTID", 77, true},
      {"FOOD"}, {"CATEGORY", recipe.category}, {"FOODID", 3}, {"FOODNAME", recipe.name}, {"SIZE", 1.0},
      {"TYPE", 1}, {"CAL", 284.375}, kClose, kClose, kClose, kClose});
  // clang-format on
  return doc.Output();
}

std::string Encode(WStringView text, const char* blank) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (WChar c : text) {
    // The platform's classification of letters and digits, as far as these tests use it: ASCII and Latin-1.
    const unsigned u = static_cast<uint16_t>(c), low = u & 0xFF;
    if ((u >= '0' && u <= '9') || ((u | 32) >= 'a' && (u | 32) <= 'z') ||
        (u >= 0xC0 && u <= 0xFF && u != 0xD7 && u != 0xF7)) {
      out += static_cast<char>(low);
    } else {
      out += c == ' ' ? std::string(blank) : std::string{'%', kHex[low >> 4], kHex[low & 15]};
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
