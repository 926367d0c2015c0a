#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

namespace velmo {

// The program's pictures, drawn rather than stored so that they stay crisp at
// every size: "icon" (a hand signing with a pen), "banner" (the title) and
// "cabinet" (a file-cabinet drawer for the browse buttons).
QIcon ProgramIcon();
QIcon CabinetIcon();
QPixmap Picture(const std::string& name, QSize size);

}  // namespace velmo
