#pragma once
// The controls of the ingredient editor that a record reads and fills: the edit of each nutrient,
// in nutrient order. The numbers are those of dialog 2701.
#include <cstdint>

#include "food/Nutrients.h"

constexpr int kNutrientEditIds[Nutrient::kCount] = {
    2736, 2742, 2758, 2739, 2763, 2756, 2737, 2743, 2764, 2757, 2766, 2767, 2768, 2769, 2770,
    2771, 2772, 2773, 2774, 2750, 2744, 2735, 2745, 2751, 2746, 2775, 2741, 2747, 2759};

// The nutrient whose edit has the id, or Nutrient::kCount for another control.
inline uint32_t NutrientOfEdit(int controlId) {
  for (uint32_t i = 0; i < Nutrient::kCount; ++i)
    if (kNutrientEditIds[i] == controlId) return i;
  return Nutrient::kCount;
}
