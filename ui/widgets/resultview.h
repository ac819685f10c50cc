#pragma once

#include "resultgrid.h"

#include <array>

class QLabel;
class QStatusBar;
class QTableView;

// How the result grid and its status line look and follow their model.
namespace ResultView {

// Column widths and row height in pixels, and the narrowest a user may drag a column,
// so that it never vanishes.
inline constexpr std::array<int, ResultGrid::ColumnCount> ColumnWidths = {64, 105, 163, 64, 64};
inline constexpr int RowHeight = 17;
inline constexpr int MinimumColumnWidth = 8;

// Shows `model` in `view`: the sizes above, cells drawn plainly, every new answer shown
// from its first row.
void Show(QTableView *view, ResultGrid *model);

// The status line's one panel, showing the model's status.
QLabel *AddStatusPanel(QStatusBar *bar, const ResultGrid *model);

} // namespace ResultView
