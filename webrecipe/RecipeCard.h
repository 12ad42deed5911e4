#pragma once
// The recipe card that the common WordPress recipe plug-ins write into a page, read by the stable
// class names they mark its parts with: for pages whose structured data carries no recipe, or a
// recipe without its ingredients or steps.
#include <string_view>
#include <nlohmann/json.hpp>

// The page's first card as a JSON-LD-like Recipe: name, yield, times, the stated calories under
// "nutrition", and the ingredients and steps as one HTML text each. False when the page holds no
// card with an ingredient or a step.
bool ReadRecipeCard(std::string_view page, nlohmann::json& recipe);
