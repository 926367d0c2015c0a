#include "qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/model/pictures.h"

namespace velmo {

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128};

QColor ToQColor(draw::Color c) {
    return QColor(c.red, c.green, c.blue);
}

QRectF ToQRect(const draw::Rect& r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

// Follows the steps of a drawing with a painter.
struct Painting {
    QPainter& p;

    void operator()(const draw::SetPen& s) {
        if (!s.pen) {
            p.setPen(Qt::NoPen);
            return;
        }
        p.setPen(QPen(ToQColor(s.pen->color), s.pen->width, Qt::SolidLine,
                      s.pen->cap == draw::Cap::Round ? Qt::RoundCap : Qt::SquareCap,
                      Qt::BevelJoin));
    }
    void operator()(const draw::SetBrush& s) {
        if (auto* color = std::get_if<draw::Color>(&s.brush)) {
            p.setBrush(ToQColor(*color));
        } else if (auto* g = std::get_if<draw::Gradient>(&s.brush)) {
            QLinearGradient gradient(g->from.x, g->from.y, g->to.x, g->to.y);
            gradient.setColorAt(0, ToQColor(g->start));
            gradient.setColorAt(1, ToQColor(g->end));
            p.setBrush(gradient);
        } else {
            p.setBrush(Qt::NoBrush);
        }
    }
    void operator()(const draw::DrawPath& s) {
        QPainterPath path;
        for (const draw::PathStep& step : s.steps) {
            switch (step.kind) {
                case draw::PathStep::Move:
                    path.moveTo(step.to.x, step.to.y);
                    break;
                case draw::PathStep::Line:
                    path.lineTo(step.to.x, step.to.y);
                    break;
                case draw::PathStep::Cubic:
                    path.cubicTo(step.control1.x, step.control1.y, step.control2.x, step.control2.y,
                                 step.to.x, step.to.y);
                    break;
                case draw::PathStep::Close:
                    path.closeSubpath();
                    break;
            }
        }
        p.drawPath(path);
    }
    void operator()(const draw::DrawRect& s) { p.drawRect(ToQRect(s.rect)); }
    void operator()(const draw::DrawEllipse& s) { p.drawEllipse(ToQRect(s.rect)); }
    void operator()(const draw::DrawRoundedRect& s) {
        p.drawRoundedRect(ToQRect(s.rect), s.radius, s.radius);
    }
    void operator()(const draw::DrawText& s) {
        QFont font(QString::fromStdString(s.family));
        font.setStyleHint(s.serif ? QFont::Serif : QFont::SansSerif);
        font.setBold(s.bold);
        font.setItalic(s.italic);
        font.setPixelSize(static_cast<int>(s.pixelSize));
        p.save();
        p.setFont(font);
        p.setPen(ToQColor(s.color));
        const int flags = (s.horizontal == draw::DrawText::Right ? Qt::AlignRight : Qt::AlignLeft) |
                          (s.vertical == draw::DrawText::Middle ? Qt::AlignVCenter : Qt::AlignTop);
        p.drawText(ToQRect(s.box), flags,
                   QString::fromUtf8(reinterpret_cast<const char*>(s.text.data()),
                                     static_cast<qsizetype>(s.text.size())));
        p.restore();
    }
    void operator()(const draw::Save&) { p.save(); }
    void operator()(const draw::Restore&) { p.restore(); }
    void operator()(const draw::Translate& s) { p.translate(s.dx, s.dy); }
    void operator()(const draw::Rotate& s) { p.rotate(s.degrees); }
};

void Paint(QPainter& painter, const draw::Drawing& drawing) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Painting painting{painter};
    for (const draw::Step& step : drawing)
        std::visit(painting, step);
    painter.restore();
}

QPixmap Drawn(const std::string& name, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    if (auto drawing = draw::Picture(name, size.width(), size.height())) {
        QPainter p(&pixmap);
        Paint(p, *drawing);
    }
    return pixmap;
}

QIcon SquareIcon(const std::string& name) {
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(Drawn(name, QSize(size, size)));
    return icon;
}

}  // namespace

void PaintProgramIcon(QPainter& painter, double size) {
    const int side = static_cast<int>(size);
    if (auto drawing = draw::Picture("icon", side, side))
        Paint(painter, *drawing);
}

QIcon ProgramIcon() {
    return SquareIcon("icon");
}

QIcon CabinetIcon() {
    return SquareIcon("cabinet");
}

QPixmap Picture(const std::string& name, QSize size) {
    if (name == "banner")
        return Drawn(name, size);
    if (name == "cabinet")
        return CabinetIcon().pixmap(size);
    return ProgramIcon().pixmap(size);
}

}  // namespace velmo
