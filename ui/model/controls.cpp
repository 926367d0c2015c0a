#include "ui/model/controls.h"

#include <algorithm>

namespace velmo {

std::string_view KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "Label";
        case ControlKind::TextBox:
            return "TextBox";
        case ControlKind::CheckBox:
            return "CheckBox";
        case ControlKind::OptionButton:
            return "OptionButton";
        case ControlKind::ComboBox:
            return "ComboBox";
        case ControlKind::CommandButton:
            return "CommandButton";
        case ControlKind::Frame:
            return "Frame";
        case ControlKind::Image:
            return "Image";
        case ControlKind::Line:
            return "Line";
        case ControlKind::TabControl:
            return "SSTab";
        case ControlKind::Slider:
            return "Slider";
        case ControlKind::CommonDialog:
            return "CommonDialog";
        case ControlKind::Menu:
            return "Menu";
    }
    return "?";
}

namespace {

int TabOf(const ControlSpec& desc) {
    return desc.container != nullptr ? desc.container->TabPage : desc.tab;
}

}  // namespace

Control::Control(Form& form, ControlKind kind, const ControlSpec& desc)
    : Name(desc.name),
      Kind(kind),
      Container(desc.container),
      TabPage(TabOf(desc)),
      Position(desc.pos),
      Font(desc.font),
      Enabled(*this, Property::Enabled, desc.enabled),
      Visible(*this, Property::Visible, desc.visible),
      form_(form) {
    form.Register(*this);
}

bool Control::EffectivelyEnabled() const {
    for (const Control* c = this; c != nullptr; c = c->Container) {
        if (!c->Enabled)
            return false;
    }
    return true;
}

bool Control::SetFocus() {
    return form_.SetFocus(*this);
}

void Control::PropertyChanged(Property property) {
    form_.Changed(this, property);
    RaiseChange(property);
}

void Control::RaiseChange(Property) {}

Label::Label(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Caption(*this, Property::Caption, desc.caption),
      ForeColor(*this, Property::ForeColor, desc.foreColor),
      FontUnderline(*this, Property::FontUnderline, desc.font.underline),
      Align(desc.alignment) {}

TextBox::TextBox(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      MaxLength(desc.maxLength),
      MultiLine(desc.multiLine),
      ReadOnly(desc.readOnly),
      Bars(desc.scrollBars),
      Text(*this, Property::TextContent, desc.text, [this](velmo::Text& t) {
          // Text set from code is cut to the maximum length too, so that no box
          // ever holds more than the user could type into it.
          if (MaxLength > 0 && t.size() > static_cast<size_t>(MaxLength))
              t.resize(MaxLength);
          return true;
      }) {}

int TextBox::PressKey(int keyCode) {
    KeyPress(keyCode);
    return keyCode;
}

void TextBox::RaiseChange(Property property) {
    if (property == Property::TextContent)
        Change();
}

CheckBox::CheckBox(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Caption(*this, Property::Caption, desc.caption),
      Value(*this, Property::Value, static_cast<Check>(desc.value),
            [](Check& v) { return v == Check::Off || v == Check::On || v == Check::Greyed; }) {}

void CheckBox::UserClick() {
    Value = Value == Check::On ? Check::Off : Check::On;
}

void CheckBox::RaiseChange(Property property) {
    if (property == Property::Value)
        Click();
}

OptionButton::OptionButton(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Caption(*this, Property::Caption, desc.caption),
      Value(*this, Property::Value, desc.value != 0) {}

void OptionButton::RaiseChange(Property property) {
    if (property != Property::Value || !Value)
        return;
    for (Control* other : Owner().Controls()) {
        if (other == this || other->Container != Container)
            continue;
        if (auto* button = other->As<OptionButton>())
            button->Value = false;
    }
    Click();
}

ComboBox::ComboBox(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Items(desc.items),
      Text(*this, Property::TextContent, desc.text, [this](velmo::Text& t) {
          return std::find(Items.begin(), Items.end(), t) != Items.end();
      }) {}

CommandButton::CommandButton(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Caption(*this, Property::Caption, desc.caption),
      Picture(desc.picture) {}

Frame::Frame(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Caption(*this, Property::Caption, desc.caption),
      Borderless(desc.borderless) {}

Image::Image(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc), Picture(desc.picture), Stretch(desc.stretch) {}

LineShape::LineShape(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      X1(desc.line.left),
      Y1(desc.line.top),
      X2(desc.line.width),
      Y2(desc.line.height) {}

TabControl::TabControl(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      TabCaptions(desc.items),
      Tab(*this, Property::Tab, desc.value,
          [this](int& t) { return t >= 0 && static_cast<size_t>(t) < TabCaptions.size(); }) {}

SliderControl::SliderControl(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc),
      Min(desc.min),
      Max(desc.max),
      Value(*this, Property::Value, desc.value, [this](int& v) { return v >= Min && v <= Max; }),
      Tag(*this, Property::Tag, desc.text) {}

void SliderControl::RaiseChange(Property property) {
    if (property == Property::Value)
        Change();
}

CommonDialog::CommonDialog(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc), DialogTitle(desc.caption) {}

MenuItem::MenuItem(Form& form, const ControlSpec& desc)
    : Control(form, kKind, desc), Caption(*this, Property::Caption, desc.caption) {}

Form::Form()
    : Caption(*this, Property::Caption, U""),
      Visible(*this, Property::Visible, false),
      Minimized(*this, Property::Minimized, false) {}

Control* Form::Find(std::string_view name) const {
    for (Control* c : controls_) {
        if (c->Name == name)
            return c;
    }
    return nullptr;
}

bool Form::SetFocus(Control& control) {
    if (!control.EffectivelyEnabled() || !control.Visible)
        return false;
    if (active_ == &control)
        return true;
    Control* previous = active_;
    active_ = &control;
    Changed(&control, Property::Focus);
    control.GotFocus();
    if (previous != nullptr)
        previous->LostFocus();
    return true;
}

void Form::PropertyChanged(Property property) {
    Changed(nullptr, property);
}

}  // namespace velmo
