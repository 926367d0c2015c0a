#pragma once

// The toolkit-free window model: controls with the properties and events the
// program's logic uses. Assigning a property from code is a change of the
// control, exactly as when the user changes it: the control's change handling
// runs when the value actually changes.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "domain/signature_options.h"
#include "domain/text.h"

namespace velmo {

class Form;
class Control;

enum class ControlKind {
    Label,
    TextBox,
    CheckBox,
    OptionButton,
    ComboBox,
    CommandButton,
    Frame,
    Image,
    Line,
    TabControl,
    Slider,
    CommonDialog,
    Menu,
};

std::string_view KindName(ControlKind kind);

// The properties a view may need to redraw when they change.
enum class Property {
    Caption,
    TextContent,
    Value,
    Enabled,
    Visible,
    Tag,
    ForeColor,
    FontUnderline,
    Tab,
    Refresh,
    Focus,      // the control became the active one
    Minimized,  // the form's window state
};

// Left, top, width, height in twips, relative to the container.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FontSpec {
    std::string name = "MS Sans Serif";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Colours in the window system's blue-green-red order; values with the high
// bit set name system colours (button text, highlight) that follow the desktop's theme.
namespace colors {
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t Blue = 0xFF0000;
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t Grey = 0x808080;
inline constexpr std::uint32_t SystemButtonText = 0x80000012;
inline constexpr std::uint32_t SystemHighlight = 0x8000000D;
}  // namespace colors

enum class Alignment { Left, Right, Center };
enum class ScrollBars { None, Vertical, Both };

// Whatever owns properties: a control or the form itself.
class PropertyOwner {
  public:
    virtual ~PropertyOwner() = default;
    virtual void PropertyChanged(Property property) = 0;
};

// A property whose assignment notifies its owner when the value changes. A
// filter may adjust a new value or refuse it (the value then stays).
template <typename T>
class Prop {
  public:
    using Filter = std::function<bool(T&)>;

    Prop(PropertyOwner& owner, Property id, T initial, Filter filter = {})
        : owner_(owner), id_(id), value_(std::move(initial)), filter_(std::move(filter)) {}
    Prop(const Prop&) = delete;
    Prop& operator=(const Prop&) = delete;

    Prop& operator=(T value) {
        if (filter_ && !filter_(value))
            return *this;
        if (value == value_)
            return *this;
        value_ = std::move(value);
        owner_.PropertyChanged(id_);
        return *this;
    }

    const T& get() const { return value_; }
    operator const T&() const { return value_; }  // NOLINT: a property reads as its value

    friend bool operator==(const Prop& p, const T& v) { return p.value_ == v; }

  private:
    PropertyOwner& owner_;
    Property id_;
    T value_;
    Filter filter_;
};

// Keeps one handler attached to its event: the handler stops running when
// the connection is destroyed or disconnected, even in the middle of a call of
// the event. An observer that may go before the event it watches holds one.
class Connection {
  public:
    Connection() = default;
    explicit Connection(std::weak_ptr<bool> attached) : attached_(std::move(attached)) {}
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            Disconnect();
            attached_ = std::move(other.attached_);
        }
        return *this;
    }
    ~Connection() { Disconnect(); }

    void Disconnect() {
        if (const std::shared_ptr<bool> attached = attached_.lock())
            *attached = false;
        attached_.reset();
    }

  private:
    std::weak_ptr<bool> attached_;
};

// An event with any number of handlers, run in the order they were attached.
template <typename... Args>
class Event {
  public:
    using Handler = std::function<void(Args...)>;

    // For a handler that lives as long as the event.
    void operator+=(Handler handler) { Attach(std::move(handler), nullptr); }

    // For a handler that stops with the connection it returns.
    [[nodiscard]] Connection Connect(Handler handler) {
        auto attached = std::make_shared<bool>(true);
        Attach(std::move(handler), attached);
        return Connection(attached);
    }

    void operator()(Args... args) const {
        // A copy, so that a handler may attach another without invalidating the
        // loop; a handler disconnected by an earlier one does not run.
        const auto handlers = handlers_;
        for (const auto& [handler, attached] : handlers) {
            if (attached == nullptr || *attached)
                handler(args...);
        }
    }

  private:
    struct Slot {
        Handler handler;
        std::shared_ptr<bool> attached;  // null for a handler of the event's lifetime
    };

    void Attach(Handler handler, std::shared_ptr<bool> attached) {
        std::erase_if(handlers_,
                      [](const Slot& slot) { return slot.attached != nullptr && !*slot.attached; });
        handlers_.push_back({std::move(handler), std::move(attached)});
    }

    std::vector<Slot> handlers_;
};

// Everything the form declares about one control: where it sits, what it
// starts with. Designated initialisers name only what differs from these
// defaults.
struct ControlSpec {
    std::string name;
    int tab = -1;                  // tab page for controls placed directly on one
    Control* container = nullptr;  // frame (or parent menu) the control sits in
    Twips pos{};
    Text caption{};
    Text text{};
    int value = 0;  // check box 0/1/2, option button 0/1, slider position
    bool enabled = true;
    bool visible = true;
    FontSpec font{};
    int maxLength = 0;          // 0: no limit
    std::vector<Text> items{};  // combo box list, tab captions
    bool multiLine = false;
    bool readOnly = false;  // a text box that only shows: typing does not reach it
    ScrollBars scrollBars = ScrollBars::None;
    Alignment alignment = Alignment::Left;
    std::uint32_t foreColor = colors::SystemButtonText;
    std::string picture{};  // resource name of an image or graphical button
    bool stretch = false;
    bool borderless = false;  // a frame that only groups option buttons
    int min = 0;              // slider range
    int max = 0;
    Twips line{};  // line end points: x1, y1, x2, y2
};

class Control : public PropertyOwner {
  public:
    Control(Form& form, ControlKind kind, const ControlSpec& desc);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string Name;
    const ControlKind Kind;
    Control* const Container;
    const int TabPage;  // -1 for controls on no tab page (menus, the dialog)
    const Twips Position;
    const FontSpec Font;

    Prop<bool> Enabled;
    Prop<bool> Visible;

    Event<int, int, double, double> MouseMove;  // button, shift, x, y
    Event<> GotFocus;
    Event<> LostFocus;

    // Enabled, and every frame around it enabled too.
    bool EffectivelyEnabled() const;

    // Gives this control the focus; false when it cannot take it (disabled).
    bool SetFocus();

    Form& Owner() const { return form_; }

    template <typename T>
    T* As() {
        return Kind == T::kKind ? static_cast<T*>(this) : nullptr;
    }

    void PropertyChanged(Property property) override;

  protected:
    // Runs the control's own change event for a property; no-op by default.
    virtual void RaiseChange(Property property);

  private:
    Form& form_;
};

class Label : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Label;
    Label(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    Prop<std::uint32_t> ForeColor;
    Prop<bool> FontUnderline;
    const Alignment Align;
    Event<> Click;
};

class TextBox : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::TextBox;
    TextBox(Form& form, const ControlSpec& desc);

    const int MaxLength;
    const bool MultiLine;
    const bool ReadOnly;
    const ScrollBars Bars;
    Prop<velmo::Text> Text;

    Event<> Change;
    Event<int&> KeyPress;  // a handler may set the key code to 0 to discard it

    // Runs the key-press handlers and returns the key code they leave: 0 means
    // the key must not reach the box.
    int PressKey(int keyCode);

  protected:
    void RaiseChange(Property property) override;
};

class CheckBox : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    CheckBox(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    Prop<Check> Value;
    Event<> Click;

    // The user's click: ticks a clear or a greyed box and clears a ticked one.
    void UserClick();

  protected:
    void RaiseChange(Property property) override;
};

class OptionButton : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::OptionButton;
    OptionButton(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    Prop<bool> Value;  // True makes the other buttons of the container False
    Event<> Click;     // runs when the button becomes True

  protected:
    void RaiseChange(Property property) override;
};

class ComboBox : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::ComboBox;
    ComboBox(Form& form, const ControlSpec& desc);

    const std::vector<velmo::Text> Items;
    Prop<velmo::Text> Text;  // one of Items; any other assignment keeps the current value
};

class CommandButton : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::CommandButton;
    CommandButton(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    const std::string Picture;  // set for the graphical buttons
    Event<> Click;
};

class Frame : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Frame;
    Frame(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    const bool Borderless;
};

class Image : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Image;
    Image(Form& form, const ControlSpec& desc);

    const std::string Picture;
    const bool Stretch;
};

class LineShape : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Line;
    LineShape(Form& form, const ControlSpec& desc);

    const int X1, Y1, X2, Y2;
};

class TabControl : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::TabControl;
    TabControl(Form& form, const ControlSpec& desc);

    const std::vector<Text> TabCaptions;
    Prop<int> Tab;  // the selected tab, 0 to the number of tabs - 1
};

class SliderControl : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Slider;
    SliderControl(Form& form, const ControlSpec& desc);

    const int Min, Max;
    Prop<int> Value;  // positions outside Min..Max are refused
    Prop<Text> Tag;
    Event<> Change;

  protected:
    void RaiseChange(Property property) override;
};

class CommonDialog : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::CommonDialog;
    CommonDialog(Form& form, const ControlSpec& desc);

    const Text DialogTitle;
};

class MenuItem : public Control {
  public:
    static constexpr ControlKind kKind = ControlKind::Menu;
    MenuItem(Form& form, const ControlSpec& desc);

    Prop<Text> Caption;
    bool IsSeparator() const { return Caption.get() == U"-"; }
    Event<> Click;
};

// A window: its controls in the order they were declared, its caption and
// visibility, the focus, and the observers a view attaches to redraw changes.
class Form : public PropertyOwner {
  public:
    Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Prop<Text> Caption;
    Prop<bool> Visible;
    Prop<bool> Minimized;  // shown as a button of the task bar only

    Event<int, int, double, double> MouseMove;  // button, shift, x, y

    // Observers: the control whose property changed (null for the form itself).
    Event<Control*, Property> Changed;

    void Show() { Visible = true; }
    void Hide() { Visible = false; }

    // Asks the view to repaint now.
    void Refresh() { Changed(nullptr, Property::Refresh); }

    const std::vector<Control*>& Controls() const { return controls_; }
    Control* Find(std::string_view name) const;

    template <typename T>
    T* Find(std::string_view name) const {
        Control* c = Find(name);
        return c ? c->As<T>() : nullptr;
    }

    Control* ActiveControl() const { return active_; }

    // Moves the focus; the old control's LostFocus runs after the new one has
    // become active. False (and no move) when the control cannot take it.
    bool SetFocus(Control& control);

    // The focus leaves the controls (the window lost it, or a control became
    // unusable); no LostFocus runs.
    void ClearFocus() { active_ = nullptr; }

    void PropertyChanged(Property property) override;

  private:
    friend class Control;
    void Register(Control& control) { controls_.push_back(&control); }

    std::vector<Control*> controls_;
    Control* active_ = nullptr;
};

}  // namespace velmo
