#include "ui/html/list_view_win.h"

#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

constexpr int kTextSize = 260;  // longer than any cell the writer keeps

}  // namespace

int32_t ListViewOnShow::RowCount() {
  return LV_Count(dlg_, id_);
}

std::string ListViewOnShow::ColumnTitle(int32_t column) {
  char text[kTextSize] = {};
  if (!LV_GetClmnText(dlg_, id_, column, text, kTextSize)) return std::string();
  return text;
}

int32_t ListViewOnShow::ColumnFormat(int32_t column) {
  return LV_GetClmnAlign(dlg_, id_, column);
}

int32_t ListViewOnShow::ColumnWidth(int32_t column) {
  return LV_GetColumnWidth(dlg_, id_, column);
}

int32_t ListViewOnShow::ListWidth() {
  return GetWindowWidth(dlg_, id_);
}

std::string ListViewOnShow::CellText(int32_t row, int32_t column) {
  char text[kTextSize] = {};
  LV_GetText(dlg_, id_, row, column, text, kTextSize);
  return text;
}

}  // namespace spinox
