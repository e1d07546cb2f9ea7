// The list on show as the hit list window's list view shows it, for the HTML writer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "html/list_on_show.h"

namespace spinox {

// Reads list view `id` of `dlg` through the control helpers at the moment of each question.
class ListViewOnShow : public ListOnShow {
 public:
  ListViewOnShow(HWND dlg, int id) : dlg_(dlg), id_(id) {}
  int32_t RowCount() override;
  std::string ColumnTitle(int32_t column) override;
  int32_t ColumnFormat(int32_t column) override;
  int32_t ColumnWidth(int32_t column) override;
  int32_t ListWidth() override;
  std::string CellText(int32_t row, int32_t column) override;

 private:
  HWND dlg_;
  int id_;
};

}  // namespace spinox
