// The program's icon, drawn rather than stored: a handheld radio on the
// title bar's blue. The window uses it, and the build renders the installed
// icon files from it.
#pragma once

#include <QIcon>
#include <QImage>

// The icon at `size` × `size` pixels, transparent around the radio.
QImage ProgramIconImage(int size);
// The icon at the sizes a window shows.
QIcon ProgramIcon();
