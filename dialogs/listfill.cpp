#include "dialogs/listfill.h"

#include "dialogs/dialoghelpers.h"
#include "resources/stringtable.h"

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace {

QStringList Lines(int firstId) {
    QStringList lines;
    for (const auto& line : StringsFrom(firstId))
        lines << ShownText(line);
    return lines;
}

} // namespace

void FillFromStrings(QComboBox& combo, int firstId, bool sorted) {
    QStringList lines = Lines(firstId);
    if (sorted)
        lines.sort();
    combo.addItems(lines);
    combo.setCurrentIndex(0);
}

void FillFromStrings(QListWidget& list, int firstId) {
    list.addItems(Lines(firstId));
    list.setCurrentRow(0);
}
