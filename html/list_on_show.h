// "The list on show": what the hit list window's list view shows, as the HTML table reads it.
// The shell backs it with the real list view; the tool and the tests with a plain table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "hitlist/view.h"

namespace spinox {

class ListOnShow {
 public:
  virtual ~ListOnShow() = default;
  virtual int32_t RowCount() = 0;
  virtual std::string ColumnTitle(int32_t column) = 0;
  // The column's format as the list view reports it; the justification is its low two bits.
  virtual int32_t ColumnFormat(int32_t column) = 0;
  virtual int32_t ColumnWidth(int32_t column) = 0;  // pixels
  virtual int32_t ListWidth() = 0;                  // the list view's window width in pixels
  virtual std::string CellText(int32_t row, int32_t column) = 0;
};

// A list on show held in memory. Columns or cells that do not exist read as empty.
class TableListOnShow : public ListOnShow {
 public:
  struct Column {
    std::string title;
    int32_t format = kColumnLeft;
    int32_t width = 0;
  };

  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;
  int32_t listWidth = 0;

  int32_t RowCount() override { return static_cast<int32_t>(rows.size()); }
  std::string ColumnTitle(int32_t column) override;
  int32_t ColumnFormat(int32_t column) override;
  int32_t ColumnWidth(int32_t column) override;
  int32_t ListWidth() override { return listWidth; }
  std::string CellText(int32_t row, int32_t column) override;
};

// The list as the hit list window shows it in a list view `listWidth` pixels wide.
TableListOnShow MakeListOnShow(const std::vector<HitListColumn>& columns, const HitListRows& rows,
                               int32_t listWidth);

}  // namespace spinox
