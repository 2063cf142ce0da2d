// Fills a list or combo box from consecutive string-table entries and
// selects the first line.
#pragma once

class QComboBox;
class QListWidget;

void FillFromStrings(QComboBox& combo, int firstId, bool sorted = false);
void FillFromStrings(QListWidget& list, int firstId);
