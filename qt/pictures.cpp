#include "qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace velmo {

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128};

// A hand holding a pen over the stroke of a signature, in a square.
void DrawSigningHand(QPainter& p, double s) {
    p.setRenderHint(QPainter::Antialiasing);
    const double w = std::max(1.0, s / 24.0);

    // The signature.
    QPainterPath ink;
    ink.moveTo(0.06 * s, 0.86 * s);
    ink.cubicTo(0.16 * s, 0.62 * s, 0.24 * s, 0.98 * s, 0.32 * s, 0.80 * s);
    ink.cubicTo(0.38 * s, 0.66 * s, 0.44 * s, 0.92 * s, 0.30 * s, 0.90 * s);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0xb4), 1.6 * w, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ink);

    // The pen, from its nib at the end of the stroke up to the right.
    p.save();
    p.translate(0.30 * s, 0.90 * s);
    p.rotate(-50);
    QPainterPath pen;
    pen.moveTo(0, 0);
    pen.lineTo(0.12 * s, -0.045 * s);
    pen.lineTo(0.95 * s, -0.045 * s);
    pen.lineTo(0.95 * s, 0.045 * s);
    pen.lineTo(0.12 * s, 0.045 * s);
    pen.closeSubpath();
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 0.8 * w));
    p.setBrush(QColor(0x33, 0x33, 0x3a));
    p.drawPath(pen);
    p.setBrush(QColor(0xd4, 0xaf, 0x37));
    p.drawRect(QRectF(0.10 * s, -0.045 * s, 0.06 * s, 0.09 * s));
    p.restore();

    // The hand: palm and fingers gripping the pen.
    const QColor skin(0xf1, 0xc2, 0x9a);
    const QColor outline(0x9a, 0x62, 0x3c);
    p.setPen(QPen(outline, 1.0 * w));
    p.setBrush(skin);
    p.drawEllipse(QRectF(0.50 * s, 0.28 * s, 0.42 * s, 0.36 * s));  // palm
    p.drawEllipse(QRectF(0.40 * s, 0.50 * s, 0.22 * s, 0.13 * s));  // index finger
    p.drawEllipse(QRectF(0.44 * s, 0.60 * s, 0.20 * s, 0.12 * s));  // middle finger
    p.drawEllipse(QRectF(0.46 * s, 0.36 * s, 0.16 * s, 0.20 * s));  // thumb
    p.setBrush(QColor(0x2b, 0x5c, 0x9e));
    p.setPen(QPen(QColor(0x1b, 0x3c, 0x6e), 1.0 * w));
    p.drawRoundedRect(QRectF(0.80 * s, 0.18 * s, 0.18 * s, 0.30 * s), 0.04 * s, 0.04 * s);  // cuff
}

void DrawCabinet(QPainter& p, double s) {
    p.setRenderHint(QPainter::Antialiasing);
    const double w = std::max(1.0, s / 24.0);
    // The cabinet body and its open drawer with files in it.
    p.setPen(QPen(QColor(0x4a, 0x4a, 0x4a), w));
    p.setBrush(QColor(0x9c, 0xa8, 0xb5));
    p.drawRect(QRectF(0.18 * s, 0.06 * s, 0.64 * s, 0.88 * s));
    p.setBrush(QColor(0xb8, 0xc4, 0xd0));
    p.drawRect(QRectF(0.24 * s, 0.12 * s, 0.52 * s, 0.22 * s));
    p.setBrush(QColor(0xe8, 0xc9, 0x6a));
    p.drawRect(QRectF(0.14 * s, 0.44 * s, 0.72 * s, 0.10 * s));  // file tabs
    p.setBrush(QColor(0xc9, 0xd4, 0xde));
    p.drawRect(QRectF(0.08 * s, 0.52 * s, 0.84 * s, 0.30 * s));  // the open drawer
    p.setBrush(QColor(0x4a, 0x4a, 0x4a));
    p.drawRect(QRectF(0.40 * s, 0.62 * s, 0.20 * s, 0.06 * s));  // handle
    p.drawRect(QRectF(0.40 * s, 0.20 * s, 0.20 * s, 0.05 * s));
}

QPixmap Square(double size, void (*draw)(QPainter&, double)) {
    QPixmap pixmap(static_cast<int>(size), static_cast<int>(size));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    draw(p, size);
    return pixmap;
}

QPixmap BannerPixmap(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Light, so that a caption laid over its lower edge stays readable.
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(0xdd, 0xe9, 0xf8));
    sky.setColorAt(1, QColor(0xf7, 0xfa, 0xfe));
    p.fillRect(pixmap.rect(), sky);
    p.setPen(QColor(0x9d, 0xb7, 0xd9));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));

    const int h = size.height();
    p.save();
    p.translate(h * 0.12, h * 0.08);
    DrawSigningHand(p, h * 0.84);
    p.restore();

    QFont title(QStringLiteral("Liberation Serif"));
    title.setItalic(true);
    title.setBold(true);
    title.setPixelSize(std::max(10, static_cast<int>(h * 0.66)));
    p.setFont(title);
    p.setPen(QColor(0x1b, 0x3c, 0x6e));
    const QRect text(static_cast<int>(h * 1.1), 0, size.width() - static_cast<int>(h * 1.2), h);
    p.drawText(text.adjusted(0, -static_cast<int>(h * 0.08), 0, 0),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Velmo"));

    QFont tagline(QStringLiteral("Liberation Sans"));
    tagline.setItalic(true);
    tagline.setPixelSize(std::max(8, static_cast<int>(h * 0.22)));
    p.setFont(tagline);
    p.setPen(QColor(0x3f, 0x5f, 0x8c));
    p.drawText(text.adjusted(0, static_cast<int>(h * 0.1), -static_cast<int>(h * 0.08), 0),
               Qt::AlignTop | Qt::AlignRight, QStringLiteral("a fresh signature in every mail"));
    return pixmap;
}

}  // namespace

void PaintProgramIcon(QPainter& painter, double size) {
    DrawSigningHand(painter, size);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(Square(size, DrawSigningHand));
    return icon;
}

QIcon CabinetIcon() {
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(Square(size, DrawCabinet));
    return icon;
}

QPixmap Picture(const std::string& name, QSize size) {
    if (name == "banner")
        return BannerPixmap(size);
    if (name == "cabinet")
        return CabinetIcon().pixmap(size);
    return ProgramIcon().pixmap(size);
}

}  // namespace velmo
