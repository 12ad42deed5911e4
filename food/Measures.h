#pragma once
// Household measures: what a spoonful, a cup or one piece of a food weighs, as its data gives them
// ("1 cup = 125 g", "1 large = 50 g", "3 cloves = 9 g"). They turn volumes and counts of a food
// whose serving is a weight into grams.
#include <vector>

#include "food/Units.h"
#include "storage/Text.h"

struct HouseholdMeasure {
  double amount = 1;
  WString name;  // "cup", "large", "slice, medium (1/8" thick)"
  double grams = 0;

  bool operator==(const HouseholdMeasure& other) const {
    return amount == other.amount && name == other.name && grams == other.grams;
  }
};
using HouseholdMeasures = std::vector<HouseholdMeasure>;

// "1 cup = 125 g": the amount, a blank, the name, " = ", the grams (six significant digits) and " g".
WString MeasureText(const HouseholdMeasure& measure);
// Reads MeasureText back; the name runs up to the last "=", so names may hold one. False without a
// positive amount, a name and positive grams.
bool ReadMeasure(WStringView text, HouseholdMeasure& measure);

// A food's measures in one text (a CSV field): their texts joined by " | ". Reading skips pieces that
// are no measure.
WString MeasuresText(const HouseholdMeasures& measures);
HouseholdMeasures ReadMeasures(WStringView text);

// The grams an amount in some unit weighs by the measures, 0 when none fits. A volume goes through a
// measure of volume (one in the same unit first); a count (Serving, blank, slice, stalk, and clove,
// strip or bag when a measure carries that name) through the measure whose name the words name,
// with the words "1 large onion", "2 garlic cloves", or, when they name none, the middle one by
// weight of the sizes (small, medium, large, ...) the food has. Weights are no business of measures.
double MeasuredGrams(const HouseholdMeasures& measures, ServingUnit unit, double amount, WStringView words);
