#include "SharedDocuments.h"

#include "storage/XMLDoc.h"

namespace {

// Writes `steps`, split by "|", with the program's writer: "TAG" opens an element, "/" closes one,
// "TAG=value" writes a value (an empty one as the writer writes 0), and a "#" marks the uploader's
// ids, left out without ids.
void Write(XMLDoc& doc, bool withIds, const std::string& steps) {
  for (size_t start = 0, end; start <= steps.size(); start = end + 1) {
    end = std::min(steps.find('|', start), steps.size());
    std::string step = steps.substr(start, end - start);
    if (step[0] == '#' && !withIds) continue;
    if (step[0] == '#') step.erase(0, 1);
    const size_t is = step.find('=');
    if (step == "/") {
      doc.CloseElement();
    } else if (is == std::string::npos) {
      doc.OpenElement(FromAscii(step).c_str());
    } else {
      doc.WriteString(FromAscii(step.substr(0, is)).c_str(), FromAscii(step.substr(is + 1)));
    }
  }
}

WString Document(const TestRecipe& recipe, bool withIds) {
  XMLDoc doc;
  // A line without an amount, whose food carries the uploader's category id, follows the first.
  Write(doc, withIds,
        "RECIPELIST|RECIPES|RECIPE|INGREDIENTLIST|INGREDIENT|AMOUNT=2.5|TYPE=2|#ID=12|FOOD|"
        "CATEGORY=Beans & Peas|FOODID=12|FOODNAME=Split peas|SIZE=1|TYPE=2|OUNCES=4.4|CAL=455|/|/|"
        "INGREDIENT|TYPE=|FOOD|#CATID=9|FOODID=13|FOODNAME=Salt|TYPE=|/|/");
  // Extra lines are numbered so that every line names its own ingredient.
  for (size_t n = 1; n <= recipe.extraLines; ++n) {
    const std::string id = std::to_string(100 + n);
    Write(doc, withIds,
          "INGREDIENT|AMOUNT=1.25|TYPE=3|#ID=" + id + "|FOOD|CATEGORY=Vegetables & Herbs|FOODID=" + id +
              "|FOODNAME=Garden vegetable, diced <fresh> no. " + std::to_string(n) +
              "|SIZE=0.5|TYPE=3|OUNCES=2.75|CAL=31.5|PROTEIN=1.25|/|/");
  }
  doc.CloseElement();
  doc.WriteString(TXT("INSTRUCTIONS"), recipe.instructions);
  Write(doc, withIds, "SERVES=4|#INGREDIENTID=77|FOOD");
  doc.WriteString(TXT("CATEGORY"), recipe.category);
  Write(doc, withIds, "FOODID=3");
  doc.WriteString(TXT("FOODNAME"), recipe.name);
  Write(doc, withIds, "SIZE=1|TYPE=1|CAL=284.375|/|/|/|/");
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
