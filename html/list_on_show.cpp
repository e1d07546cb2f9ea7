#include "html/list_on_show.h"

namespace spinox {

namespace {

bool Has(const std::vector<TableListOnShow::Column>& columns, int32_t column) {
  return column >= 0 && static_cast<size_t>(column) < columns.size();
}

}  // namespace

std::string TableListOnShow::ColumnTitle(int32_t column) {
  return Has(columns, column) ? columns[static_cast<size_t>(column)].title : std::string();
}

int32_t TableListOnShow::ColumnFormat(int32_t column) {
  return Has(columns, column) ? columns[static_cast<size_t>(column)].format : kColumnLeft;
}

int32_t TableListOnShow::ColumnWidth(int32_t column) {
  return Has(columns, column) ? columns[static_cast<size_t>(column)].width : 0;
}

std::string TableListOnShow::CellText(int32_t row, int32_t column) {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return std::string();
  const std::vector<std::string>& cells = rows[static_cast<size_t>(row)];
  if (column < 0 || static_cast<size_t>(column) >= cells.size()) return std::string();
  return cells[static_cast<size_t>(column)];
}

TableListOnShow MakeListOnShow(const std::vector<HitListColumn>& columns, const HitListRows& rows,
                               int32_t listWidth) {
  TableListOnShow list;
  std::vector<int32_t> widths = ColumnWidths(columns, listWidth);
  for (size_t i = 0; i < columns.size(); ++i)
    list.columns.push_back({columns[i].title, columns[i].format, widths[i]});
  list.rows = rows.cells;
  list.listWidth = listWidth;
  return list;
}

}  // namespace spinox
