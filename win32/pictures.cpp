#include "win32/pictures.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/windows_text.h"
#include "ui/model/pictures.h"

namespace velmo {

namespace {

namespace gp = Gdiplus;

// GDI+ is started at the first picture and stays up while the program runs.
bool StartGdiplus() {
    static bool started = [] {
        ULONG_PTR token = 0;
        gp::GdiplusStartupInput input;
        return gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok;
    }();
    return started;
}

gp::Color ToColor(draw::Color c) {
    return gp::Color(255, c.red, c.green, c.blue);
}

gp::RectF ToRect(const draw::Rect& r) {
    return gp::RectF(static_cast<gp::REAL>(r.x), static_cast<gp::REAL>(r.y),
                     static_cast<gp::REAL>(r.width), static_cast<gp::REAL>(r.height));
}

gp::PointF ToPoint(draw::Point p) {
    return gp::PointF(static_cast<gp::REAL>(p.x), static_cast<gp::REAL>(p.y));
}

std::wstring Wide(std::u8string_view utf8) {
    return ToWide(FromUtf8({reinterpret_cast<const char*>(utf8.data()), utf8.size()}));
}

// Follows the steps of a drawing with a GDI+ graphics object. The pen and the
// brush are the drawing's own, built into GDI+ objects where they are used.
class Painting {
  public:
    explicit Painting(gp::Graphics& g) : g_(g) {}

    void operator()(const draw::SetPen& s) { state_.pen = s.pen; }
    void operator()(const draw::SetBrush& s) { state_.brush = s.brush; }
    void operator()(const draw::DrawPath& s) {
        gp::GraphicsPath path;
        gp::PointF at;
        for (const draw::PathStep& step : s.steps) {
            switch (step.kind) {
                case draw::PathStep::Move:
                    path.StartFigure();
                    at = ToPoint(step.to);
                    break;
                case draw::PathStep::Line:
                    path.AddLine(at, ToPoint(step.to));
                    at = ToPoint(step.to);
                    break;
                case draw::PathStep::Cubic:
                    path.AddBezier(at, ToPoint(step.control1), ToPoint(step.control2),
                                   ToPoint(step.to));
                    at = ToPoint(step.to);
                    break;
                case draw::PathStep::Close:
                    path.CloseFigure();
                    break;
            }
        }
        Fill([&](gp::Brush& b) { g_.FillPath(&b, &path); });
        Stroke([&](gp::Pen& p) { g_.DrawPath(&p, &path); });
    }
    void operator()(const draw::DrawRect& s) {
        const gp::RectF r = ToRect(s.rect);
        Fill([&](gp::Brush& b) { g_.FillRectangle(&b, r); });
        Stroke([&](gp::Pen& p) { g_.DrawRectangle(&p, r); });
    }
    void operator()(const draw::DrawEllipse& s) {
        const gp::RectF r = ToRect(s.rect);
        Fill([&](gp::Brush& b) { g_.FillEllipse(&b, r); });
        Stroke([&](gp::Pen& p) { g_.DrawEllipse(&p, r); });
    }
    void operator()(const draw::DrawRoundedRect& s) {
        const gp::RectF r = ToRect(s.rect);
        const auto d = static_cast<gp::REAL>(2 * s.radius);
        gp::GraphicsPath path;
        path.AddArc(r.X, r.Y, d, d, 180, 90);
        path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
        path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
        path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
        path.CloseFigure();
        Fill([&](gp::Brush& b) { g_.FillPath(&b, &path); });
        Stroke([&](gp::Pen& p) { g_.DrawPath(&p, &path); });
    }
    void operator()(const draw::DrawText& s) {
        const std::wstring familyName = ToWide(FromUtf8(s.family));
        gp::FontFamily wished(familyName.c_str());
        const gp::FontFamily* family = &wished;
        if (!wished.IsAvailable())
            family = s.serif ? gp::FontFamily::GenericSerif() : gp::FontFamily::GenericSansSerif();
        const int style = (s.bold ? gp::FontStyleBold : 0) | (s.italic ? gp::FontStyleItalic : 0);
        gp::Font font(family, static_cast<gp::REAL>(s.pixelSize), style, gp::UnitPixel);
        gp::StringFormat format(gp::StringFormat::GenericTypographic());
        format.SetFormatFlags(format.GetFormatFlags() | gp::StringFormatFlagsNoWrap |
                              gp::StringFormatFlagsNoClip);
        format.SetAlignment(s.horizontal == draw::DrawText::Right ? gp::StringAlignmentFar
                                                                  : gp::StringAlignmentNear);
        format.SetLineAlignment(s.vertical == draw::DrawText::Middle ? gp::StringAlignmentCenter
                                                                     : gp::StringAlignmentNear);
        gp::SolidBrush brush(ToColor(s.color));
        const std::wstring text = Wide(s.text);
        g_.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, ToRect(s.box), &format,
                      &brush);
    }
    void operator()(const draw::Save&) { saved_.push_back({state_, g_.Save()}); }
    void operator()(const draw::Restore&) {
        if (saved_.empty())
            return;
        state_ = saved_.back().state;
        g_.Restore(saved_.back().graphics);
        saved_.pop_back();
    }
    void operator()(const draw::Translate& s) {
        g_.TranslateTransform(static_cast<gp::REAL>(s.dx), static_cast<gp::REAL>(s.dy));
    }
    void operator()(const draw::Rotate& s) { g_.RotateTransform(static_cast<gp::REAL>(s.degrees)); }

  private:
    template <typename Use>
    void Fill(Use use) {
        if (auto* color = std::get_if<draw::Color>(&state_.brush)) {
            gp::SolidBrush brush(ToColor(*color));
            use(brush);
        } else if (auto* g = std::get_if<draw::Gradient>(&state_.brush)) {
            gp::LinearGradientBrush brush(ToPoint(g->from), ToPoint(g->to), ToColor(g->start),
                                          ToColor(g->end));
            brush.SetWrapMode(gp::WrapModeTileFlipXY);
            use(brush);
        }
    }
    template <typename Use>
    void Stroke(Use use) {
        if (!state_.pen)
            return;
        gp::Pen pen(ToColor(state_.pen->color), static_cast<gp::REAL>(state_.pen->width));
        const gp::LineCap cap =
            state_.pen->cap == draw::Cap::Round ? gp::LineCapRound : gp::LineCapSquare;
        pen.SetLineCap(cap, cap, gp::DashCapFlat);
        pen.SetLineJoin(gp::LineJoinBevel);
        use(pen);
    }

    struct State {
        std::optional<draw::Pen> pen;
        std::variant<std::monostate, draw::Color, draw::Gradient> brush;
    };
    struct Saved {
        State state;
        gp::GraphicsState graphics;
    };
    gp::Graphics& g_;
    State state_;
    std::vector<Saved> saved_;
};

// Pictures are painted at this many times their size and averaged down: the
// edges come out smooth wherever GDI+ does not antialias by itself (Wine's does
// not), and the same as the Qt painting's.
constexpr int kSubpixels = 4;

// A 32-bit top-down DIB section with premultiplied alpha, transparent, with
// the named picture painted into it; null for a name without a picture.
HBITMAP Paint(const std::string& name, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const auto drawing = draw::Picture(name, width, height);
    if (!drawing || !StartGdiplus())
        return nullptr;

    const int big_width = width * kSubpixels;
    std::vector<std::uint32_t> big(static_cast<size_t>(big_width * height * kSubpixels), 0);
    {
        gp::Bitmap target(big_width, height * kSubpixels, big_width * 4, PixelFormat32bppPARGB,
                          reinterpret_cast<BYTE*>(big.data()));
        gp::Graphics g(&target);
        g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        // Pixel centres at half coordinates, as in the Qt painting.
        g.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
        g.SetTextRenderingHint(gp::TextRenderingHintAntiAlias);
        g.ScaleTransform(kSubpixels, kSubpixels);
        Painting painting(g);
        for (const draw::Step& step : *drawing)
            std::visit(painting, step);
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr)
        return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    constexpr unsigned kCount = kSubpixels * kSubpixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned sums[4] = {};
            for (int dy = 0; dy < kSubpixels; ++dy) {
                const std::uint32_t* row =
                    &big[static_cast<size_t>((y * kSubpixels + dy) * big_width + x * kSubpixels)];
                for (int dx = 0; dx < kSubpixels; ++dx)
                    for (int c = 0; c < 4; ++c)
                        sums[c] += (row[dx] >> (8 * c)) & 0xff;
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c)
                pixel |= ((sums[c] + kCount / 2) / kCount) << (8 * c);
            out[y * width + x] = pixel;
        }
    }
    return dib;
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, unsigned value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// One icon image: a BITMAPINFOHEADER of double height, the colour rows from
// the bottom up with straight alpha, then the 1-bit mask (set where nothing
// is drawn) for programs that ignore alpha.
bool IconImage(int size, std::vector<std::uint8_t>& out) {
    HBITMAP bitmap = Paint("icon", size, size);
    DIBSECTION dib{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
        dib.dsBm.bmBits == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return false;
    }
    const auto* pixels = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);  // top-down BGRA
    const unsigned mask_stride = static_cast<unsigned>((size + 31) / 32 * 4);
    Put32(out, 40);
    Put32(out, static_cast<unsigned>(size));
    Put32(out, static_cast<unsigned>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, BI_RGB);
    Put32(out, static_cast<unsigned>(size * size * 4) + mask_stride * static_cast<unsigned>(size));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* p = pixels + (y * size + x) * 4;
            const unsigned alpha = p[3];
            for (int c = 0; c < 3; ++c)
                out.push_back(alpha == 0 ? 0
                                         : static_cast<std::uint8_t>(
                                               std::min(255u, (p[c] * 255u + alpha / 2) / alpha)));
            out.push_back(static_cast<std::uint8_t>(alpha));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_stride, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[(y * size + x) * 4 + 3] == 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    DeleteObject(bitmap);
    return true;
}

}  // namespace

HICON ProgramIcon(int size) {
    HBITMAP color = Paint("icon", size, size);
    if (color == nullptr)
        return nullptr;
    // The alpha of the colour bitmap shapes the icon; the mask only has to be there.
    const std::vector<BYTE> zeros(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
    if (mask != nullptr)
        DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

HBITMAP Picture(const std::string& name, int width, int height) {
    return Paint(name, width, height);
}

std::vector<std::uint8_t> ProgramIconFile(const std::vector<int>& sizes) {
    std::vector<std::uint8_t> head;
    std::vector<std::uint8_t> images;
    const auto count = static_cast<unsigned>(sizes.size());
    Put16(head, 0);
    Put16(head, 1);  // an icon
    Put16(head, count);
    for (int size : sizes) {
        std::vector<std::uint8_t> image;
        if (size <= 0 || size > 256 || !IconImage(size, image))
            return {};
        head.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        head.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        head.push_back(0);  // no palette
        head.push_back(0);
        Put16(head, 1);   // planes
        Put16(head, 32);  // bits per pixel
        Put32(head, static_cast<unsigned>(image.size()));
        Put32(head, 6 + 16 * count + static_cast<unsigned>(images.size()));
        images.insert(images.end(), image.begin(), image.end());
    }
    head.insert(head.end(), images.begin(), images.end());
    return head;
}

}  // namespace velmo
