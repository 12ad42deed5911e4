#pragma once
// The controls of the ingredient editor that a record reads and fills: the edit of each nutrient,
// in nutrient order.
#include <cstdint>

#include "food/Nutrients.h"
#include "resources/resource.h"

constexpr int kNutrientEditIds[Nutrient::kCount] = {
    IDC_EDITOR_CALORIES,   IDC_EDITOR_TOTAL_FAT,  IDC_EDITOR_SATURATED_FAT, IDC_EDITOR_CHOLESTEROL,
    IDC_EDITOR_SODIUM,     IDC_EDITOR_POTASSIUM,  IDC_EDITOR_CARBOHYDRATES, IDC_EDITOR_FIBER,
    IDC_EDITOR_SUGAR,      IDC_EDITOR_PROTEIN,    IDC_EDITOR_VITAMIN_A,     IDC_EDITOR_VITAMIN_B1,
    IDC_EDITOR_VITAMIN_B2, IDC_EDITOR_VITAMIN_B3, IDC_EDITOR_VITAMIN_B6,    IDC_EDITOR_VITAMIN_B12,
    IDC_EDITOR_VITAMIN_C,  IDC_EDITOR_VITAMIN_D,  IDC_EDITOR_VITAMIN_E,     IDC_EDITOR_PANTOTHENIC_ACID,
    IDC_EDITOR_FOLIC_ACID, IDC_EDITOR_CALCIUM,    IDC_EDITOR_IRON,          IDC_EDITOR_PHOSPHORUS,
    IDC_EDITOR_MAGNESIUM,  IDC_EDITOR_ZINC,       IDC_EDITOR_COPPER,        IDC_EDITOR_MANGANESE,
    IDC_EDITOR_SELENIUM};

// The nutrient whose edit has the id, or Nutrient::kCount for another control.
inline uint32_t NutrientOfEdit(int controlId) {
  for (uint32_t i = 0; i < Nutrient::kCount; ++i)
    if (kNutrientEditIds[i] == controlId) return i;
  return Nutrient::kCount;
}
