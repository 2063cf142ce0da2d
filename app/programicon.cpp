#include "app/programicon.h"

#include <QPainter>
#include <QPixmap>

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setBrush(QColor(0, 64, 128));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4 * unit, 4 * unit, 8 * unit, 11 * unit), unit, unit);
    painter.drawRect(QRectF(9 * unit, 0.5 * unit, 1.5 * unit, 4 * unit));
    painter.setBrush(QColor(160, 220, 160));
    painter.drawRect(QRectF(5.5 * unit, 5.5 * unit, 5 * unit, 3 * unit));
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}
