#pragma once

class QTabWidget;

// Tabs with the narrow margins of the classic look, so that all five of the main window
// fit its minimum width; the focus shown as everywhere else.
void UseCompactTabs(QTabWidget *tabs);
