#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <string>

namespace velmo {

// The program's pictures, drawn rather than stored so that they stay crisp at
// every size: "icon" (a hand signing with a pen), "banner" (the title) and
// "cabinet" (a file-cabinet drawer for the browse buttons).
QIcon ProgramIcon();
// Paints the program icon into the square (0, 0, size, size) of the painter;
// the window and the icon files installed for the desktop both come from it.
void PaintProgramIcon(QPainter& painter, double size);
QIcon CabinetIcon();
QPixmap Picture(const std::string& name, QSize size);

}  // namespace velmo
