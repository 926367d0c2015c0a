// Build-time tool: writes the program icon into a hicolor icon theme folder,
// as PNG at the usual sizes and as SVG, from the painting the window uses.
// Usage: make_icons OUTPUT_FOLDER (gets hicolor/<n>x<n>/apps/velmo.png and
// hicolor/scalable/apps/velmo.svg).

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "qt/pictures.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kSvgSize = 256;

bool MakeFolder(const QString& path) {
    if (QDir().mkpath(path))
        return true;
    std::fprintf(stderr, "make_icons: cannot create %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Paths only, no text: painting needs no application object or display.
    if (argc != 2) {
        std::fputs("usage: make_icons OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/");

    for (int size : kSizes) {
        const QString folder = root + QStringLiteral("%1x%1/apps").arg(size);
        if (!MakeFolder(folder))
            return 1;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            velmo::PaintProgramIcon(painter, size);
        }
        const QString file = folder + QStringLiteral("/velmo.png");
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }

    const QString folder = root + QStringLiteral("scalable/apps");
    if (!MakeFolder(folder))
        return 1;
    const QString file = folder + QStringLiteral("/velmo.svg");
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    svg.setTitle(QStringLiteral("Velmo"));
    svg.setDescription(QStringLiteral("A hand signing with a pen"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
        return 1;
    }
    velmo::PaintProgramIcon(painter, kSvgSize);
    return painter.end() ? 0 : 1;
}
