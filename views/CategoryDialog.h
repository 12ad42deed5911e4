#pragma once
// Dialog 2200 in its three modes: the name of a new category, a new name for one, or the choice of
// an existing one as the target of a move. The diary derives its own for the names of diaries.
#include <windows.h>

#include <cstdint>

#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERComboBox.h"

class CategoryList;

class CategoryDialog {
 public:
  CategoryDialog(const DAVavador::ERApp& app, CategoryList& list) : app(app), list(list) {}
  virtual ~CategoryDialog() = default;
  CategoryDialog(const CategoryDialog&) = delete;
  CategoryDialog& operator=(const CategoryDialog&) = delete;

  // The name of a new category; true on OK (the dialog does not close without a name).
  virtual bool AddDialog(WString& name);
  // Adds what AddDialog asked for with the next counter value; the caller holds the data lock.
  // The new id, 0 when the name is taken (the counter has moved on all the same).
  virtual uint32_t CommitAdd(const WString& name, uint32_t& idCounter);
  // A new name for the category now called `name`; true on OK.
  virtual bool EditDialog(WString& name);
  // One of the existing categories, preset to `name`; true on OK with the chosen name in `name`.
  bool ChangeDialog(WString& name);

 protected:
  const DAVavador::ERApp& app;
  CategoryList& list;

 private:
  enum class Mode { Add, Rename, Change };
  class Window;  // the dialog of one Run
  bool Run(Mode mode, WString& name);

  Mode mode_ = Mode::Add;
  WString name_;  // the dialog's input and output
  DAVavador::ERComboBox combo_{true};
};
