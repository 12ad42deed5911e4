#include "views/IngredientList/IngredientEditor.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "food/CategoryList.h"
#include "food/FoodEditor.h"
#include "food/NumberText.h"
#include "resources/resource.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERDialog.h"
#include "toolkit/ERTabWin.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureImport.h"
#include "views/AmountEntry.h"
#include "views/CategoryBox.h"

namespace {

constexpr double kGramsPerOunce = 28.3495231;

constexpr int kGeneralTab = 0;
constexpr int kPictureTab = 4;
constexpr int kTabCount = 5;
// The pages in front of the tabs above while nothing can be changed.
constexpr int kChartPage = -1;
constexpr int kTrendPage = -2;

// The first and one-past-last nutrient of the Nutrition, Vitamins and Minerals tabs.
constexpr uint32_t kNutrientTabStart[] = {0, 10, 21, Nutrient::kCount};

constexpr int kMeasureControls[] = {IDC_EDITOR_MEASURES_LABEL, IDC_EDITOR_MEASURES,
                                    IDC_EDITOR_MEASURE_AMOUNT, IDC_EDITOR_MEASURE_NAME,
                                    IDC_EDITOR_MEASURE_GRAMS,  IDC_EDITOR_MEASURE_GRAMS_LABEL,
                                    IDC_EDITOR_MEASURE_ADD,    IDC_EDITOR_MEASURE_REMOVE};

bool IsServingControl(int id) {
  static const int kServingControls[] = {
      IDC_EDITOR_NAME_LABEL, IDC_EDITOR_SERVING_LABEL, IDC_EDITOR_OUNCES_LABEL, IDC_EDITOR_NAME,
      IDC_EDITOR_OUNCES,     IDC_EDITOR_UNIT,          IDC_EDITOR_WHOLE,        IDC_EDITOR_FRACTION};
  return std::find(std::begin(kServingControls), std::end(kServingControls), id) !=
             std::end(kServingControls) ||
         std::find(std::begin(kMeasureControls), std::end(kMeasureControls), id) !=
             std::end(kMeasureControls);
}

std::vector<int> TabControls(int tab) {
  if (tab == kGeneralTab) {
    std::vector<int> ids = {IDC_EDITOR_CATEGORY_LABEL, IDC_EDITOR_CATEGORY,       IDC_EDITOR_NAME_LABEL,
                            IDC_EDITOR_NAME,           IDC_EDITOR_SERVING_LABEL,  IDC_EDITOR_WHOLE,
                            IDC_EDITOR_FRACTION,       IDC_EDITOR_UNIT,           IDC_EDITOR_OUNCES_LABEL,
                            IDC_EDITOR_OUNCES,         IDC_EDITOR_GRAMS_TO_OUNCES};
    ids.insert(ids.end(), std::begin(kMeasureControls), std::end(kMeasureControls));
    return ids;
  }
  if (tab == kPictureTab) return {IDC_EDITOR_PICTURE_AREA, IDC_EDITOR_BROWSE, IDC_EDITOR_CLEAR};
  std::vector<int> ids;
  for (uint32_t i = kNutrientTabStart[tab - 1]; i < kNutrientTabStart[tab]; ++i) {
    ids.push_back(IDC_EDITOR_FIRST_NUTRIENT_LABEL + static_cast<int>(i));
    ids.push_back(kNutrientEditIds[i]);
  }
  return ids;
}

// The controls a view-only dialog disables: everything that takes input.
std::vector<int> InputControls() {
  std::vector<int> ids = {IDC_EDITOR_CATEGORY,        IDC_EDITOR_NAME,          IDC_EDITOR_WHOLE,
                          IDC_EDITOR_FRACTION,        IDC_EDITOR_UNIT,          IDC_EDITOR_OUNCES,
                          IDC_EDITOR_GRAMS_TO_OUNCES, IDC_EDITOR_BROWSE,        IDC_EDITOR_CLEAR,
                          IDC_EDITOR_MEASURE_AMOUNT,  IDC_EDITOR_MEASURE_NAME,  IDC_EDITOR_MEASURE_GRAMS,
                          IDC_EDITOR_MEASURE_ADD,     IDC_EDITOR_MEASURE_REMOVE};
  ids.insert(ids.end(), std::begin(kNutrientEditIds), std::end(kNutrientEditIds));
  return ids;
}

// Without the catalogs' answer a replaced picture is kept: it may still be named elsewhere.
class KeepEveryPicture : public DAVavador::PictureUsers {
 public:
  bool OtherRecordNames(const WString&) const override { return true; }
};

class EditorDialog : public DAVavador::ERDialog {
 public:
  EditorDialog(const IngredientEditor::Context& context, unsigned modes)
      : context_(context),
        diary_((modes & IngredientEditor::kDiary) != 0),
        viewOnly_((modes & IngredientEditor::kViewOnly) != 0) {}

  bool Run(HWND owner) { return RunModal(context_.app, IDD_INGREDIENT_EDITOR, owner) == IDOK; }

 private:
  bool OnNotify(const NMHDR& header, LRESULT&) override {
    if (header.idFrom != IDC_EDITOR_TABS || header.code != TCN_SELCHANGE) return false;
    ShowTab(tabs_.Selected());
    return true;
  }

  bool OnMessage(UINT msg, WPARAM, LPARAM lp, INT_PTR& result) override {
    switch (msg) {
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlID != IDC_EDITOR_PICTURE_AREA) return false;
        DrawPreview(*item);
        result = TRUE;
        return true;
      }
      case WM_SIZE:
        if (charts_) Layout();
        return false;
      case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = smallest_;
        result = TRUE;
        return true;
      default:
        return false;
    }
  }

  bool OnInit() override {
    if (!viewOnly_) AskBeforeDiscarding();
    tabs_.Attach(Item(IDC_EDITOR_TABS));
    serving_.Attach(Dialog());
    // The catalog's categories without "--All--", the record's own selected; without any the box
    // takes the name of a first one.
    CategoryBox::Fill(Item(IDC_EDITOR_CATEGORY), context_.categories, context_.record.catId);
    const HWND area = Item(IDC_EDITOR_PICTURE_AREA);
    const PreviewRect& box = context_.record.preview;
    MoveWindow(area, box.left, box.top, box.width, box.height, FALSE);
    picture_.SetWindow(area);
    context_.record.FillEditor(Dialog(), picture_, context_.imagesFolder, context_.format);
    for (const HouseholdMeasure& measure : measures_)
      Message(IDC_EDITOR_MEASURES, LB_ADDSTRING, 0, Text(MeasureText(measure)));
    // The empty boxes of a new measure show an example of one: 1 cup = 125 g.
    for (const auto& [id, cue] : {std::pair{IDC_EDITOR_MEASURE_AMOUNT, IDS_MEASURE_CUE_AMOUNT},
                                  std::pair{IDC_EDITOR_MEASURE_NAME, IDS_MEASURE_CUE_NAME},
                                  std::pair{IDC_EDITOR_MEASURE_GRAMS, IDS_MEASURE_CUE_GRAMS}})
      Message(id, EM_SETCUEBANNER, TRUE, Text(context_.app.String(cue)));
    if (context_.record.foodId != 0)
      SetWindowTextW(Dialog(), context_.app.String(IDS_INGREDIENT_EDIT_CAPTION).c_str());
    if (diary_) SetItemText(IDC_EDITOR_CATEGORY_LABEL, context_.app.String(IDS_DIARY_LABEL));
    if (viewOnly_) {
      charts_ =
          std::make_unique<NutritionCharts>(context_.app, context_.record, context_.days, context_.trend);
      charts_->Create(Dialog());
      pages_ = charts_->HasTrend() ? std::vector<int>{kChartPage, kTrendPage} : std::vector<int>{kChartPage};
    }
    for (int tab = 0; tab < (diary_ ? kTabCount - 1 : kTabCount); ++tab) pages_.push_back(tab);
    for (const int page : pages_) tabs_.AddTab(context_.app.String(Caption(page)));
    for (int tab = 0; tab < kTabCount; ++tab) ShowControls(tab, false);
    tabs_.Select(0);
    ShowTab(0);
    if (viewOnly_) {
      MakeViewOnly();
      MakeResizable();
    }
    return false;
  }

  void MakeViewOnly() {
    SetWindowTextW(Dialog(), context_.record.name.c_str());
    for (int id : InputControls()) EnableWindow(Item(id), FALSE);
    ShowWindow(Item(IDOK), SW_HIDE);
    ShowWindow(Item(IDCANCEL), SW_HIDE);
    const HWND done = Item(IDC_EDITOR_DONE);
    ShowWindow(done, SW_SHOW);
    SendMessageW(Dialog(), DM_SETDEFID, IDC_EDITOR_DONE, 0);
    SetFocus(done);
  }

  // Controls that a mode keeps out of sight on their tab.
  bool Suppressed(int id) const {
    if (id == IDC_EDITOR_GRAMS_TO_OUNCES) return diary_ || viewOnly_;
    return diary_ && IsServingControl(id);
  }

  void ShowControls(int tab, bool show) {
    for (int id : TabControls(tab)) ShowWindow(Item(id), show && !Suppressed(id) ? SW_SHOW : SW_HIDE);
  }

  static UINT Caption(int page) {
    if (page == kChartPage) return IDS_CHART_TAB;
    if (page == kTrendPage) return IDS_TREND_TAB;
    return IDS_INGREDIENT_TAB_FIRST + page;
  }

  void ShowPage(int page, bool show) {
    if (page == kChartPage || page == kTrendPage)
      charts_->Show(page == kChartPage ? NutritionCharts::kChartPage : NutritionCharts::kTrendPage, show);
    else
      ShowControls(page, show);
  }

  // `position` counts the tabs as shown.
  void ShowTab(int position) {
    if (position < 0 || static_cast<size_t>(position) >= pages_.size()) return;
    if (page_) ShowPage(*page_, false);
    page_ = pages_[position];
    ShowPage(*page_, true);
    if (*page_ == kGeneralTab && !diary_ && !viewOnly_) SetFocus(Item(IDC_EDITOR_NAME));
  }

  // The charts want room: the window grows and may be sized, never below the size it grew to,
  // where the chart's lines hold the dialog's text.
  void MakeResizable() {
    RECT frame, work;
    GetWindowRect(Dialog(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowLongPtrW(Dialog(), GWL_STYLE,
                      GetWindowLongPtrW(Dialog(), GWL_STYLE) | WS_THICKFRAME | WS_MAXIMIZEBOX);
    const int width = std::min<int>((frame.right - frame.left) * 5 / 4, work.right - work.left);
    const int height = std::min<int>((frame.bottom - frame.top) * 9 / 5, work.bottom - work.top);
    smallest_ = POINT{width, height};
    SetWindowPos(Dialog(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Layout();
  }

  // The tabs fill the window above "Done", the charts the tabs' page area.
  void Layout() {
    RECT client, units{7, 7, 50, 14};
    GetClientRect(Dialog(), &client);
    MapDialogRect(Dialog(), &units);
    const int margin = units.left, buttonWidth = units.right, buttonHeight = units.bottom;
    const int buttonTop = client.bottom - margin - buttonHeight;
    MoveWindow(Item(IDC_EDITOR_DONE), client.right - margin - buttonWidth, buttonTop, buttonWidth,
               buttonHeight, TRUE);
    RECT page{margin, margin, client.right - margin, buttonTop - margin};
    MoveWindow(tabs_.Window(), page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
    TabCtrl_AdjustRect(tabs_.Window(), FALSE, &page);
    InflateRect(&page, -margin, -margin);
    charts_->Layout(page);
    // The dialog paints over its children: a grown window would otherwise cover the controls
    // just moved into its new part.
    RedrawWindow(Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }

  bool OnOK() override {
    if (viewOnly_ || !ReadRecord()) return false;
    tabs_.Detach();
    return true;
  }

  bool OnCommand(int id, int code) override {
    if (charts_ && charts_->OnCommand(id, code)) return true;
    if (serving_.OnCommand(id, code)) return true;
    switch (id) {
      case IDC_EDITOR_MEASURE_ADD:
        if (code == BN_CLICKED) AddMeasure();
        return true;
      case IDC_EDITOR_MEASURE_REMOVE:
        if (code == BN_CLICKED) RemoveMeasure();
        return true;
      case IDCANCEL:
      case IDC_EDITOR_DONE:
        Close(IDCANCEL);
        return true;
      case IDC_EDITOR_GRAMS_TO_OUNCES:
        if (code == BN_CLICKED) GramsToOunces();
        return true;
      case IDC_EDITOR_BROWSE:
        if (code == BN_CLICKED) Browse();
        return true;
      case IDC_EDITOR_CLEAR:
        if (code == BN_CLICKED) ClearPicture();
        return true;
      default:
        if (code == EN_KILLFOCUS) PercentEntry(id);
        return false;
    }
  }

  void SetNumber(int id, double value) const {
    WString text;
    AppendReal(text, value);
    SetItemText(id, text);
  }

  // "10%" left in the calories edit becomes 200: a percentage of the record's daily value.
  void PercentEntry(int id) {
    const uint32_t nutrient = NutrientOfEdit(id);
    if (viewOnly_ || nutrient == Nutrient::kCount) return;
    const WString text = ItemText(id);
    if (text.find(TXT('%')) == WString::npos) return;
    SetNumber(id, context_.record.DailyValue(nutrient) * ParseReal(text.c_str()) / 100);
  }

  static LPARAM Text(const WString& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

  // The measure typed below the list joins it; the amount may be a fraction ("1/2"), the name holds
  // no "|", which parts the measures in CSV files.
  void AddMeasure() {
    HouseholdMeasure measure;
    measure.name = ItemText(IDC_EDITOR_MEASURE_NAME);
    std::replace(measure.name.begin(), measure.name.end(), TXT('|'), TXT('/'));
    measure.name.erase(0, measure.name.find_first_not_of(TXT(' ')));
    measure.name.erase(measure.name.find_last_not_of(TXT(' ')) + 1);
    measure.grams = ParseReal(ItemText(IDC_EDITOR_MEASURE_GRAMS).c_str());
    if (!ReadTypedAmount(ItemText(IDC_EDITOR_MEASURE_AMOUNT).c_str(), measure.amount) ||
        !(measure.amount > 0) || measure.name.empty() || !(measure.grams > 0)) {
      UserPrompts::Current().Message(Dialog(), context_.app.String(IDS_INGREDIENT_BAD_MEASURE),
                                     context_.app.DisplayName(), Prompt::kOk | Prompt::kIconInformation);
      return;
    }
    measures_.push_back(measure);
    Message(IDC_EDITOR_MEASURES, LB_ADDSTRING, 0, Text(MeasureText(measure)));
    for (int id : {IDC_EDITOR_MEASURE_AMOUNT, IDC_EDITOR_MEASURE_NAME, IDC_EDITOR_MEASURE_GRAMS})
      SetItemText(id, WString());
  }

  void RemoveMeasure() {
    const LRESULT row = Message(IDC_EDITOR_MEASURES, LB_GETCURSEL);
    if (row < 0 || static_cast<size_t>(row) >= measures_.size()) return;
    measures_.erase(measures_.begin() + row);
    Message(IDC_EDITOR_MEASURES, LB_DELETESTRING, static_cast<WPARAM>(row));
  }

  void GramsToOunces() {
    SetNumber(IDC_EDITOR_OUNCES, ParseReal(ItemText(IDC_EDITOR_OUNCES).c_str()) / kGramsPerOunce);
  }

  void Browse() {
    // A bare name (the record's picture, or "nopicture") has no folder to start in.
    const WString current = ItemText(IDC_EDITOR_PICTURE_PATH);
    const bool hasFolder = current.find_last_of(TXT("\\/")) != WString::npos;
    const WString folder = hasFolder ? FolderOf(current) : WString(TXT("C:\\"));
    WString filter;
    for (UINT id = IDS_PICTURE_FILES; id < IDS_PICTURE_FILES + 4; ++id)
      filter += (filter.empty() ? WString() : WString(TXT("|"))) + context_.app.String(id);
    const std::optional<WString> path =
        ChooseOpenFile(Dialog(), context_.app.String(IDS_PICTURE_BROWSE_TITLE), filter, WString(), folder);
    if (!path) return;
    SetItemText(IDC_EDITOR_PICTURE_PATH, *path);
    picture_.Load(*path);
  }

  void ClearPicture() {
    const int answer =
        UserPrompts::Current().Message(Dialog(), context_.app.String(IDS_PICTURE_CLEAR_QUESTION),
                                       context_.app.DisplayName(), Prompt::kYesNo | Prompt::kIconQuestion);
    if (answer != Prompt::kAnswerYes) return;
    SetItemText(IDC_EDITOR_PICTURE_PATH, DAVavador::kNoPicture);
    picture_.Clear();
  }

  void DrawPreview(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    picture_.Draw(item.hDC, 0, 0);
  }

  bool ReadRecord() {
    // OK pressed with Enter leaves the focus where it was: a percentage there still counts.
    for (int id : kNutrientEditIds) PercentEntry(id);
    static const KeepEveryPicture keep;
    const DAVavador::PictureUsers& users = context_.pictureUsers ? *context_.pictureUsers : keep;
    const HWND category = Item(IDC_EDITOR_CATEGORY);
    if (!CategoryBox::Check(category, context_.app) ||
        !context_.record.ReadEditor(Dialog(), false, context_.imagesFolder, users))
      return false;
    context_.record.catId = CategoryBox::Read(category, context_.categories, context_.newCategory);
    context_.record.measures = measures_;
    return true;
  }

  void Close(INT_PTR result) {
    tabs_.Detach();
    End(result);
  }

  const IngredientEditor::Context& context_;
  const bool diary_;
  const bool viewOnly_;
  DAVavador::ERTabWin tabs_;
  DAVavador::ERPictureHolder picture_;
  AmountEntry serving_{IDC_EDITOR_WHOLE, IDC_EDITOR_FRACTION, IDC_EDITOR_UNIT};
  HouseholdMeasures measures_ = context_.record.measures;
  std::vector<int> pages_;   // what each tab shows: a chart page or one of the editor's tabs
  std::optional<int> page_;  // the page shown
  std::unique_ptr<NutritionCharts> charts_;
  POINT smallest_{};
};

}  // namespace

bool IngredientEditor::Open(HWND owner, const Context& context, unsigned modes) {
  return EditorDialog(context, modes).Run(owner);
}
