#pragma once
// The category box of the ingredient and recipe editors: a drop-down combo that lists the catalog's
// categories and also takes a typed name, so that a first record brings its category along and a
// new category needs no trip to the Edit menu. Nothing reaches the catalog before the editor's OK.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "storage/Text.h"
#include "toolkit/ERApp.h"

class CategoryList;

namespace CategoryBox {

// Creates the category of a typed name the list lacks and gives its id (the view's part: its id
// counter, the data lock and its category selector).
using Create = std::function<uint32_t(const WString& name)>;

// Lists the categories and shows the one of `catId`, else the first; an empty box without any.
void Fill(HWND combo, const CategoryList& categories, uint32_t catId);
// Keeps what the box shows while its list is filled again.
void Refill(HWND combo, const CategoryList& categories);
// False, after telling the user and giving the box the keyboard, when the box names no category.
bool Check(HWND combo, const DAVavador::ERApp& app);
// The category the box names: the listed one its text names (ignoring case and the blanks around
// it), else a new one of that name from `create` (0 without `create`).
uint32_t Read(HWND combo, const CategoryList& categories, const Create& create);

}  // namespace CategoryBox
