#pragma once

// The program's pictures as drawing steps that any painter follows: the icon
// (a hand signing with a pen), "banner" (the title) and "cabinet" (a
// file-cabinet drawer for the browse buttons). The Qt and Win32 layers paint
// the same steps, so both programs show the same drawings at every size.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmo::draw {

struct Color {
    std::uint8_t red, green, blue;
};
struct Point {
    double x, y;
};
struct Rect {
    double x, y, width, height;
};

enum class Cap { Square, Round };
// Lines are antialiased; the corners of a path are bevelled.
struct Pen {
    Color color;
    double width;
    Cap cap = Cap::Square;
};
// A colour running from `start` at `from` to `end` at `to`, along that line.
struct Gradient {
    Point from, to;
    Color start, end;
};

struct PathStep {
    enum Kind { Move, Line, Cubic, Close };
    Kind kind;
    Point to{};
    Point control1{}, control2{};  // for Cubic
};

// Outlines take the current pen and fill with the current brush; either may
// be none.
struct SetPen {
    std::optional<Pen> pen;
};
struct SetBrush {
    std::variant<std::monostate, Color, Gradient> brush;
};
struct DrawPath {
    std::vector<PathStep> steps;
};
struct DrawRect {
    Rect rect;
};
struct DrawEllipse {
    Rect rect;
};
struct DrawRoundedRect {
    Rect rect;
    double radius;
};
// One line of text in its colour, placed in `box` by the alignments. The
// family is a wish; a painter without it takes its serif or sans-serif font.
struct DrawText {
    Rect box;
    std::u8string text;
    std::string family;
    bool serif = false;
    double pixelSize = 12;
    bool bold = false;
    bool italic = false;
    Color color;
    enum Horizontal { Left, Right } horizontal = Left;
    enum Vertical { Top, Middle } vertical = Top;
};
// Save and Restore keep the pen, the brush and the placement around a part.
struct Save {};
struct Restore {};
struct Translate {
    double dx, dy;
};
struct Rotate {
    double degrees;  // clockwise on the screen, where y grows downwards
};

using Step = std::variant<SetPen, SetBrush, DrawPath, DrawRect, DrawEllipse, DrawRoundedRect,
                          DrawText, Save, Restore, Translate, Rotate>;
using Drawing = std::vector<Step>;

// The named picture drawn into (0, 0, width, height) on a transparent ground,
// in pixels; nothing for a name it does not know. "icon" and "cabinet" are
// square: they fill the largest square in the middle.
std::optional<Drawing> Picture(std::string_view name, int width, int height);

}  // namespace velmo::draw
