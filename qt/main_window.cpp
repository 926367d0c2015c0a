#include "qt/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <utility>

#include "qt/conversions.h"
#include "qt/fixed_cells.h"
#include "qt/pictures.h"
#include "qt/qt_text.h"
#include "qt/task_bar.h"
#include "ui/app.h"
#include "ui/startup.h"
#include "ui/tray.h"

namespace velmo {

namespace {

// The window's Windows fonts and, for each, the fonts with the same widths
// that Linux desktops have, best first (Liberation in fonts-liberation2, its
// Chrome OS twins, the URW fonts), so that captions fill their places as laid out.
struct StandIn {
    const char* wanted;
    const char* families[3];  // null after the last
};
constexpr StandIn kStandIns[] = {
    {"Courier New", {"Liberation Mono", "Cousine", "Nimbus Mono PS"}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "Nimbus Roman"}},
    {"Comic Sans MS", {"Comic Neue"}},
    // Arial's widths; MS Sans Serif is narrow enough for them at a slightly smaller size.
    {"", {"Liberation Sans", "Arimo", "Nimbus Sans"}},
};

// The window's fonts, or the closest ones this desktop has.
QFont FontOf(const FontSpec& wanted) {
    const QString name = QString::fromStdString(wanted.name);
    const QStringList families = QFontDatabase::families();
    QFont font;
    if (families.contains(name)) {
        font = QFont(name);
    } else {
        const StandIn* standIn =
            std::find_if(std::begin(kStandIns), std::end(kStandIns) - 1,
                         [&](const StandIn& s) { return name == QLatin1String(s.wanted); });
        const auto found = std::find_if(
            std::begin(standIn->families), std::end(standIn->families), [&](const char* family) {
                return family != nullptr && families.contains(QLatin1String(family));
            });
        if (found != std::end(standIn->families)) {
            font = QFont(QString::fromLatin1(*found));
        } else if (name == QLatin1String("Courier New")) {
            font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        } else if (name == QLatin1String("Times New Roman")) {
            font = QFont(QStringLiteral("Serif"));
        } else {
            font = QApplication::font();
        }
    }
    if (name == QLatin1String("Courier New"))
        font.setStyleHint(QFont::TypeWriter);
    // MS Sans Serif is a bitmap font that sets a little tighter than its size says.
    if (name == QLatin1String("MS Sans Serif") && !families.contains(name)) {
        font.setPixelSize(static_cast<int>(std::lround(wanted.size * 96.0 / 72.0 * 0.93)));
    } else {
        font.setPointSizeF(wanted.size);
    }
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    return font;
}

QColor ColorOf(std::uint32_t color, const QPalette& palette) {
    // The active group's colours: a widget disabled just now must not make grey its colour.
    if (color == colors::SystemHighlight)
        return palette.color(QPalette::Active, QPalette::Highlight);
    if (color == colors::SystemButtonText)
        return palette.color(QPalette::Active, QPalette::WindowText);
    // Blue-green-red order.
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

Qt::Alignment AlignmentOf(Alignment a) {
    switch (a) {
        case Alignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Alignment::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

Qt::CheckState CheckStateOf(Check value) {
    return value == Check::On       ? Qt::Checked
           : value == Check::Greyed ? Qt::PartiallyChecked
                                    : Qt::Unchecked;
}

// Qt lays a paragraph out whole before drawing it: a quote of megabytes in one
// line would keep the window from appearing for minutes. A multi-line box
// shows at most this many characters; the model keeps the whole text.
constexpr size_t kShownCharacters = 50'000;

// What a multi-line box shows of `text`, and whether that is only its beginning,
// followed by a note of how much is left out.
std::pair<QString, bool> ShownText(TextView text) {
    if (text.size() <= kShownCharacters)
        return {ToEditorText(text), false};
    TextView head = text.substr(0, kShownCharacters);
    if (head.back() == U'\r')
        head.remove_suffix(1);  // not half a line break
    QString shown = ToEditorText(head);
    shown += QStringLiteral("\n\u2026 %1 more characters not shown")
                 .arg(QLocale().toString(static_cast<qulonglong>(text.size() - head.size())));
    return {shown, true};
}

// A frame whose line runs through the middle of its title, as the layout
// expects: the controls' places leave the room under a title to the frame's
// contents, where a style's frame that begins below its title would cross them.
class TitledFrame : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

    // The row of the top line, and where the title is written.
    int LineRow() const { return fontMetrics().height() / 2; }
    QRect TitleRect() const {
        if (title().isEmpty())
            return {};
        return {6, 0, fontMetrics().horizontalAdvance(title()) + 4, fontMetrics().height()};
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // Etched: a dark line with a light one inside it, open where the title is.
        const QRect line = rect().adjusted(0, LineRow(), -2, -2);
        p.setClipRegion(QRegion(rect()).subtracted(TitleRect()));
        p.setPen(palette().color(QPalette::Active, QPalette::Mid));
        p.drawRect(line);
        p.setPen(palette().color(QPalette::Active, QPalette::Light));
        p.drawRect(line.translated(1, 1));
        p.setClipping(false);
        style()->drawItemText(&p, TitleRect().adjusted(2, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), title(),
                              QPalette::WindowText);
    }
};

// Where a widget draws, in its parent's coordinates: a label's text or
// picture, or else the whole widget. A frame that only groups draws its contents.
void AddDrawnAreas(const QWidget* w, QPoint offset, std::vector<QRect>& areas) {
    if (w->x() < 0)
        return;  // placed out of sight
    if (w->metaObject() == &QWidget::staticMetaObject) {
        for (const QWidget* child :
             w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            AddDrawnAreas(child, offset + w->pos(), areas);
        return;
    }
    QRect area = w->geometry();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QRect room = label->contentsRect();
        if (!label->pixmap().isNull()) {
            area =
                label->hasScaledContents()
                    ? room
                    : QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                          label->pixmap().deviceIndependentSize().toSize(), room);
        } else if (label->text().isEmpty()) {
            return;
        } else {
            area = label->fontMetrics().boundingRect(
                room,
                static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                label->text());
        }
        area.translate(w->pos());
    }
    areas.push_back(area.translated(offset));
}

}  // namespace

MainWindow::MainWindow(App& app) : app_(app) {
    setObjectName(QStringLiteral("MainForm"));
    if (QScreen* s = QGuiApplication::primaryScreen())
        scale_ = s->logicalDotsPerInchX() / 96.0;
    setWindowIcon(ProgramIcon());
    QFont base = QApplication::font();
    base.setPointSizeF(9.75);
    setFont(base);
    Build();
    // The client area the layout was made for, or a little more where this
    // desktop's tab strip leaves the lowest buttons too little room.
    int bottom = 0;
    for (const auto& [control, widget] : widgets_) {
        if (control->Container == nullptr && control->TabPage >= 0) {
            bottom = std::max(bottom, widget->geometry().bottom() + 1);
        }
    }
    const int pageTop = tabs_->tabBar()->sizeHint().height() + 4;
    const int height = std::max(Pixels(MainForm::kClientHeight), pageTop + bottom + 4);
    tabs_->resize(Pixels(MainForm::kClientWidth), height);
    setFixedSize(Pixels(MainForm::kClientWidth), height);

    changed_ = app_.form.Changed.Connect(
        [this](Control* control, Property property) { Sync(control, property); });
    focusChanged_ = QObject::connect(qApp, &QApplication::focusChanged, this,
                                     [this](QWidget*, QWidget* now) { OnFocusChanged(now); });

    // A window built after start-up shows what start-up left in the model.
    Sync(nullptr, Property::Caption);
    if (Control* active = app_.form.ActiveControl())
        Sync(active, Property::Focus);
    if (app_.form.Minimized) {
        Sync(nullptr, Property::Minimized);
    } else if (app_.form.Visible) {
        Sync(nullptr, Property::Visible);
    }
}

// The base class's destructor still moves the focus, which must not reach a
// window whose own members are gone; the model's handler stops with them.
MainWindow::~MainWindow() {
    QObject::disconnect(focusChanged_);
}

int MainWindow::Pixels(int twips) const {
    return static_cast<int>(std::lround(twips / 15.0 * scale_));
}

QWidget* MainWindow::WidgetOf(const Control* control) const {
    const auto it = widgets_.find(control);
    return it == widgets_.end() ? nullptr : it->second;
}

Control* MainWindow::ControlOf(const QObject* widget) const {
    return controls_.value(widget, nullptr);
}

void MainWindow::Build() {
    MainForm& form = app_.form;
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("Tabs"));
    QFont tabFont = QApplication::font();
    tabFont.setPointSizeF(8.25);
    tabs_->setFont(tabFont);
    for (const Text& caption : form.Tabs.TabCaptions) {
        auto* page = new QWidget;
        page->setMouseTracking(true);
        page->installEventFilter(this);
        tabs_->addTab(page, ToQString(caption));
    }
    tabs_->tabBar()->setMouseTracking(true);
    tabs_->tabBar()->installEventFilter(this);
    const Twips& p = form.Tabs.Position;
    tabs_->setGeometry(Pixels(p.left), Pixels(p.top), Pixels(MainForm::kClientWidth),
                       Pixels(MainForm::kClientHeight));
    // Positions count from the top of the tab control, strip included; the
    // highest control of any page goes just under this strip.
    int highest = MainForm::kClientHeight;
    for (Control* c : form.Controls()) {
        if (c->Container == nullptr && c->TabPage >= 0 && c->Kind != ControlKind::CommonDialog) {
            highest = std::min(highest, c->Position.top);
        }
    }
    pageTop_ = Pixels(highest) - 2;
    widgets_[&form.Tabs] = tabs_;
    controls_.insert(tabs_, &form.Tabs);
    QObject::connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!updating_)
            app_.form.Tabs.Tab = index;
    });

    for (Control* c : form.Controls()) {
        if (c->Kind == ControlKind::Menu || c->Kind == ControlKind::CommonDialog ||
            c->Kind == ControlKind::TabControl) {
            continue;
        }
        QWidget* parent =
            c->Container != nullptr ? WidgetOf(c->Container) : tabs_->widget(c->TabPage);
        if (parent == nullptr)
            continue;
        QWidget* w = Create(*c, parent);
        w->setObjectName(QString::fromStdString(c->Name));
        widgets_[c] = w;
        controls_.insert(w, c);
        SyncAll(*c);
        Place(*c, w);  // after the caption is known, so that it can make room for it
        Connect(*c, w);
    }
    SyncAll(form.Tabs);

    // A frame that only groups grows to hold its grown option buttons.
    for (Control* c : form.Controls()) {
        auto* frame = c->As<Frame>();
        if (frame == nullptr || !frame->Borderless)
            continue;
        QWidget* w = WidgetOf(frame);
        QRect area = w->geometry();
        for (QWidget* child : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->geometry().left() < 0)
                continue;  // placed out of sight on purpose
            area.setWidth(std::max(area.width(), child->geometry().right() + 1));
        }
        w->setGeometry(area);
    }

    for (Control* c : form.Controls()) {
        if (auto* label = qobject_cast<QLabel*>(WidgetOf(c)))
            FitCaption(*c, label);
    }
}

void MainWindow::FitCaption(Control& c, QLabel* label) {
    // What the neighbours draw, the title and top line of a frame included.
    std::vector<QRect> taken;
    QWidget* parent = label->parentWidget();
    for (const QWidget* w : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w != label)
            AddDrawnAreas(w, {}, taken);
    }
    if (const auto* frame = dynamic_cast<const TitledFrame*>(parent)) {
        taken.push_back(frame->TitleRect());
        taken.emplace_back(0, frame->LineRow(), frame->width(), 2);
    }
    // A neighbour that begins above and left of the box and runs into what
    // the label draws keeps it below or right of the neighbour, whichever
    // leaves more room; the box itself stays where it is.
    const QRect box = label->geometry();
    std::vector<QRect> drawn;
    AddDrawnAreas(label, {}, drawn);
    if (drawn.empty() || label->hasScaledContents())
        return;  // nothing drawn, or a picture that fills its box by design
    QMargins margins;
    for (const QRect& t : taken) {
        if (!t.intersects(drawn.front()) || t.top() > box.top() || t.left() > box.left())
            continue;
        const int top = t.bottom() + 1 - box.top() + std::max(1, Pixels(30));
        const int left = t.right() + 1 - box.left() + std::max(1, Pixels(60));
        const bool overTop = t.bottom() < box.bottom();
        const bool overLeft = t.right() < box.right();
        if (overTop && (!overLeft || top * box.width() <= left * box.height())) {
            margins.setTop(std::max(margins.top(), top));
        } else if (overLeft) {
            margins.setLeft(std::max(margins.left(), left));
        }
    }
    label->setContentsMargins(margins);

    if (!label->pixmap().isNull()) {
        // A picture shrinks to the room left.
        if (!margins.isNull()) {
            const QRect room = box.marginsRemoved(margins);
            const int side = std::min(room.width(), room.height());
            if (auto* image = c.As<Image>())
                label->setPixmap(Picture(image->Picture, QSize(side, side)));
        }
        return;
    }
    if (label->text().isEmpty())
        return;
    // The text at its font needs more room than the layout gives: the box
    // grows over free space, and otherwise the font shrinks a little.
    const int flags =
        static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    QFont font = label->font();
    const bool pixels = font.pixelSize() > 0;
    const double full = pixels ? font.pixelSize() : font.pointSizeF();
    for (double size = full;; size -= pixels ? 1 : 0.25) {
        if (pixels) {
            font.setPixelSize(static_cast<int>(size));
        } else {
            font.setPointSizeF(size);
        }
        const QFontMetrics metrics(font);
        const QRect room = box.marginsRemoved(margins);
        const QRect needed = metrics.boundingRect(
            QRect(room.topLeft(), QSize(room.width(), 1 << 20)), flags, label->text());
        QRect grown = box;
        grown.setWidth(std::max(box.width(), needed.width() + margins.left()));
        grown.setHeight(std::max(box.height(), needed.height() + margins.top()));
        const QRect text =
            metrics.boundingRect(grown.marginsRemoved(margins), flags, label->text());
        const bool clear = parent->rect().contains(text) &&
                           std::none_of(taken.begin(), taken.end(),
                                        [&](const QRect& t) { return t.intersects(text); });
        // No smaller than four fifths: past that a caption is no longer read at a glance.
        if (clear || size - (pixels ? 1 : 0.25) < full * 0.8) {
            label->setFont(font);
            label->setGeometry(grown);
            return;
        }
    }
}

QWidget* MainWindow::Create(Control& c, QWidget* parent) {
    switch (c.Kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            auto& l = static_cast<Label&>(c);
            label->setAlignment(AlignmentOf(l.Align));
            label->setWordWrap(c.Position.height > 300 || l.Align == Alignment::Center);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case ControlKind::TextBox: {
            auto& t = static_cast<TextBox&>(c);
            if (t.MultiLine) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setLineWrapMode(t.Bars == ScrollBars::Both ? QPlainTextEdit::NoWrap
                                                                 : QPlainTextEdit::WidgetWidth);
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setHorizontalScrollBarPolicy(
                    t.Bars == ScrollBars::Both ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
                edit->setTabChangesFocus(true);
                // A preview keeps its lines as laid out: their columns must line up.
                if (t.Bars == ScrollBars::Both)
                    new FixedCells(edit);
                return edit;
            }
            auto* edit = new QLineEdit(parent);
            if (t.MaxLength > 0)
                edit->setMaxLength(t.MaxLength);
            edit->setReadOnly(t.ReadOnly);
            return edit;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(parent);
            box->setTristate(false);
            return box;
        }
        case ControlKind::OptionButton: {
            auto* button = new QRadioButton(parent);
            // The model keeps the groups, and a group may have none selected.
            button->setAutoExclusive(false);
            return button;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            for (const Text& item : static_cast<ComboBox&>(c).Items)
                combo->addItem(ToQString(item));
            return combo;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(parent);
            if (!static_cast<CommandButton&>(c).Picture.empty()) {
                button->setIcon(CabinetIcon());
                button->setIconSize(
                    QSize(Pixels(c.Position.width) - 8, Pixels(c.Position.height) - 8));
            }
            return button;
        }
        case ControlKind::Frame: {
            if (static_cast<Frame&>(c).Borderless)
                return new QWidget(parent);
            return new TitledFrame(parent);
        }
        case ControlKind::Image: {
            auto* label = new QLabel(parent);
            label->setPixmap(Picture(static_cast<Image&>(c).Picture,
                                     QSize(Pixels(c.Position.width), Pixels(c.Position.height))));
            label->setScaledContents(static_cast<Image&>(c).Stretch);
            return label;
        }
        case ControlKind::Line: {
            auto* line = new QFrame(parent);
            auto& l = static_cast<LineShape&>(c);
            line->setFrameShape(l.X1 == l.X2 ? QFrame::VLine : QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            return line;
        }
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            auto& s = static_cast<SliderControl&>(c);
            slider->setRange(s.Min, s.Max);
            slider->setPageStep(1);
            slider->setTickPosition(QSlider::TicksBelow);
            slider->setTickInterval(1);
            return slider;
        }
        default:
            return new QWidget(parent);
    }
}

void MainWindow::Place(Control& c, QWidget* w) {
    w->setFont(FontOf(c.Font));
    if (c.Kind == ControlKind::Line) {
        auto& l = static_cast<LineShape&>(c);
        const int x = Pixels(std::min(l.X1, l.X2));
        const int y = Pixels(std::min(l.Y1, l.Y2));
        w->setGeometry(x - 1, y, std::max(3, Pixels(std::abs(l.X2 - l.X1))),
                       std::max(3, Pixels(std::abs(l.Y2 - l.Y1))));
        return;
    }
    const Twips& p = c.Position;
    int top = Pixels(p.top);
    if (c.Container == nullptr)
        top -= pageTop_;
    int width = Pixels(p.width);
    int height = Pixels(p.height);
    // A caption in this desktop's font may need more room than the layout gives it.
    if (c.Kind == ControlKind::CheckBox || c.Kind == ControlKind::OptionButton) {
        width = std::max(width, w->sizeHint().width());
        height = std::max(height, w->sizeHint().height());
    }
    if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && label->pixmap().isNull()) {
        if (!label->wordWrap()) {
            width = std::max(width, label->sizeHint().width());
        } else {
            // A wrapped caption needs at least its widest word.
            for (const QString& word :
                 label->text().split(QRegularExpression(QStringLiteral("\\s+")))) {
                width = std::max(width, label->fontMetrics().horizontalAdvance(word) + 2);
            }
        }
    }
    if (c.Kind == ControlKind::ComboBox)
        height = std::max(height, w->sizeHint().height());
    if (c.Kind == ControlKind::CommandButton)
        height = std::max(height, Pixels(300));
    w->setGeometry(Pixels(p.left), top, width, height);
}

void MainWindow::SyncAll(Control& c) {
    for (Property property :
         {Property::Caption, Property::TextContent, Property::Value, Property::Enabled,
          Property::Visible, Property::ForeColor, Property::FontUnderline, Property::Tab}) {
        Sync(&c, property);
    }
}

void MainWindow::Sync(Control* c, Property property) {
    MainForm& form = app_.form;
    const bool wasUpdating = updating_;
    updating_ = true;
    if (c == nullptr) {
        switch (property) {
            case Property::Caption:
                setWindowTitle(ToQString(form.Caption.get()));
                break;
            case Property::Visible:
                if (form.Visible) {
                    // Kept off the task bar while the notification area is the
                    // way back to the window; without one the task bar is.
                    const bool tool = !ListedOnTaskBar(app_);
                    if (windowFlags().testFlag(Qt::Tool) != tool)
                        setWindowFlag(Qt::Tool, tool);
                    ListOnTaskBar(*this, !tool);
                    if (isMinimized())
                        showNormal();
                    show();
                    ListOnTaskBar(*this, !tool);
                    raise();
                    activateWindow();
                } else {
                    hide();
                }
                break;
            case Property::Minimized:
                if (form.Minimized)
                    showMinimized();
                break;
            case Property::Refresh:
                update();
                break;
            default:
                break;
        }
        updating_ = wasUpdating;
        return;
    }
    QWidget* w = WidgetOf(c);
    if (w == nullptr) {
        updating_ = wasUpdating;
        return;
    }
    const QSignalBlocker block(w);
    switch (property) {
        case Property::Enabled:
            w->setEnabled(c->Enabled);
            break;
        case Property::Visible:
            w->setVisible(c->Visible);
            break;
        case Property::Focus:
            if (QApplication::focusWidget() != w)
                w->setFocus(Qt::OtherFocusReason);
            break;
        case Property::Caption:
            if (auto* l = c->As<Label>())
                static_cast<QLabel*>(w)->setText(ToQString(l->Caption.get()));
            if (auto* b = c->As<CheckBox>())
                static_cast<QCheckBox*>(w)->setText(ToQString(b->Caption.get()));
            if (auto* o = c->As<OptionButton>()) {
                static_cast<QRadioButton*>(w)->setText(ToQString(o->Caption.get()));
            }
            if (auto* b = c->As<CommandButton>()) {
                static_cast<QPushButton*>(w)->setText(ToQString(b->Caption.get()));
            }
            if (auto* f = c->As<Frame>(); f != nullptr && !f->Borderless) {
                static_cast<QGroupBox*>(w)->setTitle(ToQString(f->Caption.get()));
            }
            break;
        case Property::TextContent:
            if (auto* t = c->As<TextBox>()) {
                if (auto* line = qobject_cast<QLineEdit*>(w)) {
                    const QString text = ToQString(t->Text.get());
                    if (line->text() != text)
                        line->setText(text);
                } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                    const auto [text, cut] = ShownText(t->Text.get());
                    // Typing into a cut text would replace the whole with the part shown.
                    edit->setReadOnly(cut);
                    if (edit->toPlainText() != text)
                        edit->setPlainText(text);
                }
            }
            if (auto* combo = c->As<ComboBox>()) {
                auto* box = static_cast<QComboBox*>(w);
                box->setCurrentIndex(box->findText(ToQString(combo->Text.get())));
            }
            break;
        case Property::Value:
            if (auto* b = c->As<CheckBox>()) {
                static_cast<QCheckBox*>(w)->setCheckState(CheckStateOf(b->Value));
            }
            if (auto* o = c->As<OptionButton>())
                static_cast<QRadioButton*>(w)->setChecked(o->Value);
            if (auto* s = c->As<SliderControl>())
                static_cast<QSlider*>(w)->setValue(s->Value);
            break;
        case Property::ForeColor:
        case Property::FontUnderline:
            if (auto* l = c->As<Label>()) {
                QPalette palette = w->palette();
                const QColor color = ColorOf(l->ForeColor, palette);
                palette.setColor(QPalette::Active, QPalette::WindowText, color);
                palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
                w->setPalette(palette);
                QFont font = w->font();
                font.setUnderline(l->FontUnderline);
                w->setFont(font);
            }
            break;
        case Property::Tab:
            if (auto* t = c->As<TabControl>())
                tabs_->setCurrentIndex(t->Tab);
            break;
        default:
            break;
    }
    updating_ = wasUpdating;
}

void MainWindow::Connect(Control& c, QWidget* w) {
    Control* control = &c;
    if (auto* b = c.As<CommandButton>()) {
        QObject::connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, [this, b] {
            if (!updating_)
                b->Click();
        });
    } else if (auto* box = c.As<CheckBox>()) {
        QObject::connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, box] {
            if (updating_)
                return;
            box->UserClick();
            Sync(box, Property::Value);  // in case the model kept its value
        });
    } else if (auto* option = c.As<OptionButton>()) {
        QObject::connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this,
                         [this, option] {
                             if (updating_)
                                 return;
                             option->Value = true;
                             Sync(option, Property::Value);
                         });
    } else if (auto* text = c.As<TextBox>()) {
        w->installEventFilter(this);
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            QObject::connect(line, &QLineEdit::textEdited, this,
                             [this, text](const QString& value) {
                                 if (!updating_)
                                     text->Text = FromQString(value);
                             });
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
            QObject::connect(edit, &QPlainTextEdit::textChanged, this, [this, text, edit] {
                if (!updating_)
                    text->Text = FromEditorText(edit->toPlainText());
            });
        }
    } else if (auto* combo = c.As<ComboBox>()) {
        QObject::connect(static_cast<QComboBox*>(w), &QComboBox::textActivated, this,
                         [this, combo](const QString& value) {
                             if (!updating_)
                                 combo->Text = FromQString(value);
                         });
    } else if (auto* slider = c.As<SliderControl>()) {
        QObject::connect(static_cast<QSlider*>(w), &QSlider::valueChanged, this,
                         [this, slider](int v) {
                             if (!updating_)
                                 slider->Value = v;
                         });
    } else if (c.Kind == ControlKind::Label) {
        w->setMouseTracking(true);
        // A move over a label is the label's alone: passed on to the page it
        // would reach the tab control and undo the label's hover look at once.
        w->setAttribute(Qt::WA_NoMousePropagation);
        w->installEventFilter(this);
    }
    (void)control;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    MainForm& form = app_.form;
    if (event->type() == QEvent::MouseMove) {
        auto* move = static_cast<QMouseEvent*>(event);
        const QPointF at = move->position();
        Control* c = ControlOf(watched);
        if (c == nullptr) {
            // The tab strip or the background of a page belongs to the tab control.
            form.Tabs.MouseMove(0, 0, at.x() * 15, at.y() * 15);
        } else if (c->Kind == ControlKind::Label) {
            c->MouseMove(0, 0, at.x() * 15, at.y() * 15);
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto* label = ControlOf(watched) ? ControlOf(watched)->As<Label>() : nullptr) {
            label->Click();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* text = ControlOf(watched) ? ControlOf(watched)->As<TextBox>() : nullptr;
        if (text == nullptr)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (key->key() == Qt::Key_Backspace) {
            code = 8;
        } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            code = 13;
        } else if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab &&
                   key->key() != Qt::Key_Escape && !key->text().isEmpty()) {
            // Control characters too (Ctrl+V arrives as 22), so that a box that
            // refuses typing refuses a paste as well.
            code = static_cast<int>(key->text().toUcs4().value(0));
        }
        if (code == 0)
            return false;  // keys that raise no key press
        return text->PressKey(code) == 0;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::OnFocusChanged(QWidget* now) {
    // Only moves between the window's own controls: switching programs or
    // opening a menu or a message box is no loss of focus.
    if (now == nullptr || now->window() != this)
        return;
    if (Control* c = ControlOf(now)) {
        c->SetFocus();
    } else if (auto* parent = now->parentWidget(); parent != nullptr) {
        // The inner widget of a combo box or an editor.
        if (Control* outer = ControlOf(parent))
            outer->SetFocus();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_QueryUnload(app_);
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !updating_) {
        const bool minimized = isMinimized();
        updating_ = true;
        app_.form.Minimized = minimized;
        updating_ = false;
    }
    QWidget::changeEvent(event);
}

}  // namespace velmo
