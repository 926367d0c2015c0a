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

int TabOf(const ControlSpec& spec) {
    return spec.container != nullptr ? spec.container->TabPage : spec.tab;
}

}  // namespace

Control::Control(Form& form, ControlKind kind, const ControlSpec& spec)
    : Name(spec.name),
      Kind(kind),
      Container(spec.container),
      TabPage(TabOf(spec)),
      Position(spec.pos),
      Font(spec.font),
      Enabled(*this, Property::Enabled, spec.enabled),
      Visible(*this, Property::Visible, spec.visible),
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

Label::Label(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Caption(*this, Property::Caption, spec.caption),
      ForeColor(*this, Property::ForeColor, spec.foreColor),
      FontUnderline(*this, Property::FontUnderline, spec.font.underline),
      Align(spec.alignment) {}

TextBox::TextBox(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      MaxLength(spec.maxLength),
      MultiLine(spec.multiLine),
      Bars(spec.scrollBars),
      Text(*this, Property::TextContent, spec.text, [this](velmo::Text& t) {
          // Like the original text box, text set from code is cut to the maximum length.
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

CheckBox::CheckBox(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Caption(*this, Property::Caption, spec.caption),
      Value(*this, Property::Value, spec.value, [](int& v) { return v >= 0 && v <= 2; }) {}

void CheckBox::RaiseChange(Property property) {
    if (property == Property::Value)
        Click();
}

OptionButton::OptionButton(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Caption(*this, Property::Caption, spec.caption),
      Value(*this, Property::Value, spec.value != 0) {}

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

ComboBox::ComboBox(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Items(spec.items),
      Text(*this, Property::TextContent, spec.text, [this](velmo::Text& t) {
          return std::find(Items.begin(), Items.end(), t) != Items.end();
      }) {}

CommandButton::CommandButton(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Caption(*this, Property::Caption, spec.caption),
      Picture(spec.picture) {}

Frame::Frame(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Caption(*this, Property::Caption, spec.caption),
      Borderless(spec.borderless) {}

Image::Image(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec), Picture(spec.picture), Stretch(spec.stretch) {}

LineShape::LineShape(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      X1(spec.line.left),
      Y1(spec.line.top),
      X2(spec.line.width),
      Y2(spec.line.height) {}

TabControl::TabControl(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      TabCaptions(spec.items),
      Tab(*this, Property::Tab, spec.value,
          [this](int& t) { return t >= 0 && static_cast<size_t>(t) < TabCaptions.size(); }) {}

SliderControl::SliderControl(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec),
      Min(spec.min),
      Max(spec.max),
      Value(*this, Property::Value, spec.value, [this](int& v) { return v >= Min && v <= Max; }),
      Tag(*this, Property::Tag, spec.text) {}

void SliderControl::RaiseChange(Property property) {
    if (property == Property::Value)
        Change();
}

CommonDialog::CommonDialog(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec), DialogTitle(spec.caption) {}

MenuItem::MenuItem(Form& form, const ControlSpec& spec)
    : Control(form, kKind, spec), Caption(*this, Property::Caption, spec.caption) {}

Form::Form() : Caption(*this, Property::Caption, U""), Visible(*this, Property::Visible, false) {}

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
    control.GotFocus();
    if (previous != nullptr)
        previous->LostFocus();
    return true;
}

void Form::PropertyChanged(Property property) {
    Changed(nullptr, property);
}

}  // namespace velmo
