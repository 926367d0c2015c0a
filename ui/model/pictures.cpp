#include "ui/model/pictures.h"

#include <algorithm>

namespace velmo::draw {

namespace {

// Steps of one picture, with coordinates given as fractions of a square's side.
class Square {
  public:
    Square(Drawing& out, double side) : out_(out), s_(side) {}

    Point At(double x, double y) const { return {x * s_, y * s_}; }
    Rect Box(double x, double y, double w, double h) const {
        return {x * s_, y * s_, w * s_, h * s_};
    }
    // Line widths grow with the picture but stay at least a pixel.
    double Width(double times) const { return times * std::max(1.0, s_ / 24.0); }

    void Add(Step step) { out_.push_back(std::move(step)); }

  private:
    Drawing& out_;
    double s_;
};

PathStep MoveTo(Point p) {
    return {PathStep::Move, p};
}
PathStep LineTo(Point p) {
    return {PathStep::Line, p};
}
PathStep CubicTo(Point c1, Point c2, Point p) {
    return {PathStep::Cubic, p, c1, c2};
}
PathStep Close() {
    return {PathStep::Close};
}

// A hand holding a pen over the stroke of a signature.
void SigningHand(Drawing& out, double side) {
    Square q(out, side);

    // The signature.
    q.Add(SetPen{Pen{{0x1f, 0x4e, 0xb4}, q.Width(1.6), Cap::Round}});
    q.Add(SetBrush{});
    q.Add(DrawPath{{MoveTo(q.At(0.06, 0.86)),
                    CubicTo(q.At(0.16, 0.62), q.At(0.24, 0.98), q.At(0.32, 0.80)),
                    CubicTo(q.At(0.38, 0.66), q.At(0.44, 0.92), q.At(0.30, 0.90))}});

    // The pen, from its nib at the end of the stroke up to the right.
    q.Add(Save{});
    const Point nib = q.At(0.30, 0.90);
    q.Add(Translate{nib.x, nib.y});
    q.Add(Rotate{-50});
    q.Add(SetPen{Pen{{0x20, 0x20, 0x20}, q.Width(0.8)}});
    q.Add(SetBrush{Color{0x33, 0x33, 0x3a}});
    q.Add(DrawPath{{MoveTo({0, 0}), LineTo(q.At(0.12, -0.045)), LineTo(q.At(0.95, -0.045)),
                    LineTo(q.At(0.95, 0.045)), LineTo(q.At(0.12, 0.045)), Close()}});
    q.Add(SetBrush{Color{0xd4, 0xaf, 0x37}});
    q.Add(DrawRect{q.Box(0.10, -0.045, 0.06, 0.09)});
    q.Add(Restore{});

    // The hand: palm and fingers gripping the pen, and the cuff.
    q.Add(SetPen{Pen{{0x9a, 0x62, 0x3c}, q.Width(1.0)}});
    q.Add(SetBrush{Color{0xf1, 0xc2, 0x9a}});
    q.Add(DrawEllipse{q.Box(0.50, 0.28, 0.42, 0.36)});  // palm
    q.Add(DrawEllipse{q.Box(0.40, 0.50, 0.22, 0.13)});  // index finger
    q.Add(DrawEllipse{q.Box(0.44, 0.60, 0.20, 0.12)});  // middle finger
    q.Add(DrawEllipse{q.Box(0.46, 0.36, 0.16, 0.20)});  // thumb
    q.Add(SetBrush{Color{0x2b, 0x5c, 0x9e}});
    q.Add(SetPen{Pen{{0x1b, 0x3c, 0x6e}, q.Width(1.0)}});
    q.Add(DrawRoundedRect{q.Box(0.80, 0.18, 0.18, 0.30), 0.04 * side});
}

// A file cabinet with its drawer open and files in it.
void Cabinet(Drawing& out, double side) {
    Square q(out, side);
    const Color dark{0x4a, 0x4a, 0x4a};
    q.Add(SetPen{Pen{dark, q.Width(1.0)}});
    q.Add(SetBrush{Color{0x9c, 0xa8, 0xb5}});
    q.Add(DrawRect{q.Box(0.18, 0.06, 0.64, 0.88)});  // body
    q.Add(SetBrush{Color{0xb8, 0xc4, 0xd0}});
    q.Add(DrawRect{q.Box(0.24, 0.12, 0.52, 0.22)});  // upper drawer
    q.Add(SetBrush{Color{0xe8, 0xc9, 0x6a}});
    q.Add(DrawRect{q.Box(0.14, 0.44, 0.72, 0.10)});  // file tabs
    q.Add(SetBrush{Color{0xc9, 0xd4, 0xde}});
    q.Add(DrawRect{q.Box(0.08, 0.52, 0.84, 0.30)});  // the open drawer
    q.Add(SetBrush{dark});
    q.Add(DrawRect{q.Box(0.40, 0.62, 0.20, 0.06)});  // handles
    q.Add(DrawRect{q.Box(0.40, 0.20, 0.20, 0.05)});
}

// The title on a light ground, so that a caption laid over its lower edge
// stays readable, with the signing hand at its left.
void Banner(Drawing& out, int w, int h) {
    out.push_back(SetPen{});
    out.push_back(SetBrush{Gradient{{0, 0},
                                    {static_cast<double>(w), static_cast<double>(h)},
                                    {0xdd, 0xe9, 0xf8},
                                    {0xf7, 0xfa, 0xfe}}});
    out.push_back(DrawRect{{0, 0, static_cast<double>(w), static_cast<double>(h)}});
    out.push_back(SetPen{Pen{{0x9d, 0xb7, 0xd9}, 1}});
    out.push_back(SetBrush{});
    out.push_back(DrawRect{{0, 0, w - 1.0, h - 1.0}});

    out.push_back(Save{});
    out.push_back(Translate{h * 0.12, h * 0.08});
    SigningHand(out, h * 0.84);
    out.push_back(Restore{});

    // Whole pixels, so that the text sits on the pixel grid at every size.
    const int left = static_cast<int>(h * 1.1);
    const int across = w - static_cast<int>(h * 1.2);
    const int raise = static_cast<int>(h * 0.08);
    out.push_back(
        DrawText{.box = {static_cast<double>(left), static_cast<double>(-raise),
                         static_cast<double>(across), static_cast<double>(h + raise)},
                 .text = u8"Velmo",
                 .family = "Liberation Serif",
                 .serif = true,
                 .pixelSize = static_cast<double>(std::max(10, static_cast<int>(h * 0.66))),
                 .bold = true,
                 .italic = true,
                 .color = {0x1b, 0x3c, 0x6e},
                 .vertical = DrawText::Middle});
    const int drop = static_cast<int>(h * 0.1);
    const int inset = static_cast<int>(h * 0.08);
    out.push_back(
        DrawText{.box = {static_cast<double>(left), static_cast<double>(drop),
                         static_cast<double>(across - inset), static_cast<double>(h - drop)},
                 .text = u8"a fresh signature in every mail",
                 .family = "Liberation Sans",
                 .pixelSize = static_cast<double>(std::max(8, static_cast<int>(h * 0.22))),
                 .italic = true,
                 .color = {0x3f, 0x5f, 0x8c},
                 .horizontal = DrawText::Right});
}

}  // namespace

std::optional<Drawing> Picture(std::string_view name, int width, int height) {
    Drawing out;
    if (name == "banner") {
        Banner(out, width, height);
        return out;
    }
    void (*square)(Drawing&, double) = nullptr;
    if (name == "icon")
        square = SigningHand;
    else if (name == "cabinet")
        square = Cabinet;
    else
        return std::nullopt;
    const int side = std::min(width, height);
    const bool centred = width != height;
    if (centred) {
        out.push_back(Save{});
        out.push_back(Translate{(width - side) / 2.0, (height - side) / 2.0});
    }
    square(out, side);
    if (centred)
        out.push_back(Restore{});
    return out;
}

}  // namespace velmo::draw
