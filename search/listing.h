#pragma once

class ResultGrid;

// Every complete record, in slot order, into the grid. Reads no search input and
// leaves the inputs as they are.
void ShowWholeDirectory(ResultGrid &grid);
