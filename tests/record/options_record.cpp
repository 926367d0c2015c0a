// Prints what start-up (and one Apply) makes of a table of stored option
// sets: every control of the window, the files written, the clipboard and the
// messages. Two builds that behave alike print the same record, so a
// restructuring is checked by comparing the output before and after.
//
// Usage: options_record > record.txt

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/app.h"
#include "ui/startup.h"

namespace velmo {
namespace {

// Control characters, quotes and backslashes escaped; with `bytes`, every
// byte outside printable ASCII too, so that the record shows exact file bytes.
std::string Escape(const std::string& s, bool bytes) {
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7f || (bytes && c >= 0x80)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            if (c == '\n')
                out += "\n    ";  // keep the lines of a file apart in the record
        } else {
            out += ch;
        }
    }
    return out;
}

std::string Q(const Text& t) {
    return "\"" + Escape(ToUtf8(t), false) + "\"";
}

// One line per control, in the window's inventory order.
std::vector<std::string> ControlLines(const MainForm& form) {
    std::vector<std::string> lines;
    lines.push_back("form caption=" + Q(form.Caption.get()) +
                    " visible=" + std::to_string(form.Visible.get()) +
                    " minimized=" + std::to_string(form.Minimized.get()));
    for (Control* c : form.Controls()) {
        std::string l = c->Name + " " + std::string(KindName(c->Kind)) +
                        " enabled=" + std::to_string(c->Enabled.get()) +
                        " visible=" + std::to_string(c->Visible.get());
        const auto items = [&l](const std::vector<Text>& list) {
            l += " items=[";
            for (size_t i = 0; i < list.size(); ++i)
                l += (i ? "," : "") + Q(list[i]);
            l += "]";
        };
        if (auto* x = c->As<Label>())
            l += " caption=" + Q(x->Caption.get());
        if (auto* x = c->As<TextBox>())
            l += " text=" + Q(x->Text.get());
        if (auto* x = c->As<CheckBox>())
            l += " caption=" + Q(x->Caption.get()) + " value=" + std::to_string(x->Value.get());
        if (auto* x = c->As<OptionButton>())
            l += " caption=" + Q(x->Caption.get()) + " value=" + std::to_string(x->Value.get());
        if (auto* x = c->As<ComboBox>()) {
            l += " text=" + Q(x->Text.get());
            items(x->Items);
        }
        if (auto* x = c->As<CommandButton>())
            l += " caption=" + Q(x->Caption.get());
        if (auto* x = c->As<Frame>())
            l += " caption=" + Q(x->Caption.get());
        if (auto* x = c->As<TabControl>()) {
            l += " value=" + std::to_string(x->Tab.get());
            items(x->TabCaptions);
        }
        if (auto* x = c->As<SliderControl>())
            l += " value=" + std::to_string(x->Value.get()) + " text=" + Q(x->Tag.get());
        if (auto* x = c->As<MenuItem>())
            l += " caption=" + Q(x->Caption.get());
        lines.push_back(l);
    }
    return lines;
}

// The twenty packed numbers of a stored option set: the stored defaults with
// the signature file on, then the changes of the set.
Text Packed(std::initializer_list<std::pair<int, int>> changes) {
    int v[20] = {5, 0, 1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 1, 1};
    for (const auto& [index, value] : changes)
        v[index] = value;
    Text packed;
    for (const int n : v) {
        packed += n < 0 ? U'-' : U' ';
        packed += static_cast<char32_t>(U'0' + (n < 0 ? -n : n));
    }
    return packed;
}

// Field numbers of the packed string.
// clang-format off
enum {
    kSlider, kClip, kFile, kVar, kFixed, kTray, kOrderVF, kBorder, kSpace, kTBLike, kBBLike,
    kBBRepeat, kBBSame, kRightLike, kSepNone, kSepBlank, kSepTop, kSepBottom, kRightSame, kOutput
};
// clang-format on

const TextView kStars = U"*****************************************";

struct OptionSet {
    const char* name;
    bool stored;  // false: nothing stored yet, the first run
    Text packed;
    // Fixed width, top like, top repeat, width, bottom like, bottom repeat,
    // left like, indent, right like.
    std::map<int, Text> values;
};

std::vector<OptionSet> Sets() {
    const Text likeTop = U"«~~ Grüße ~~ top border, forty-one chars»";
    // clang-format off
    return {
        {"first-run", false, {}, {}},
        {"stored-defaults", true, Packed({}), {}},
        {"top-like+bottom-like+blankline", true,
         Packed({{kTBLike, -1}, {kBBLike, -1}, {kSepNone, 0}, {kSepBlank, -1}}),
         {{1, likeTop}, {4, U"=~=~ bottom like ~=~= ñ"}}},
        {"top-repeat+bottom-repeat+sametop", true,
         Packed({{kBBRepeat, -1}, {kSepNone, 0}, {kSepTop, -1}}), {{2, U"=-"}, {5, U"#é"}}},
        {"bottom-same+samebottom+html+clip", true,
         Packed({{kBBSame, -1}, {kSepNone, 0}, {kSepBottom, -1}, {kOutput, 2}, {kClip, 1}}),
         {{2, U"<&>"}}},
        {"rtf+orderVF+right-like", true,
         Packed({{kOutput, 3}, {kOrderVF, -1}, {kRightLike, -1}, {kRightSame, 0}}),
         {{3, U"40"}, {6, U"<|"}, {7, U"4"}, {8, U"|>"}, {0, U"80"}}},
        {"plain+space+fixed-off+clip", true,
         Packed({{kBorder, 0}, {kSpace, 1}, {kFixed, 0}, {kClip, 1}, {kSlider, 2}}),
         {{3, U"100"}}},
        {"output-none+tray", true, Packed({{kOutput, 0}, {kTray, 1}}), {}},
        {"two-separators+two-bottoms", true,
         Packed({{kSepBlank, -1}, {kSepBottom, -1}, {kBBLike, -1}, {kBBSame, -1}}), {}},
        {"malformed-length-39", true, Packed({{kClip, 1}}).substr(1), {{3, U"80"}}},
        {"malformed-bad-char", true, Packed({{kClip, 1}}).replace(4, 1, U"x"), {{3, U"80"}}},
        {"out-of-range-numbers", true,
         Packed({{kClip, 2}, {kVar, 9}, {kBorder, 9}, {kSpace, 2}, {kSlider, 9},
                 {kRightSame, 9}, {kOutput, 9}, {kFixed, 2}}), {}},
        {"empty-combos", true, Packed({}), {{0, U""}, {3, U""}, {7, U""}}},
        {"top-like-short", true, Packed({{kTBLike, -1}}), {{1, U"~ kurz ~"}}},
        {"quote-list-missing", true, Packed({}), {{10, testing::Rooted(U"home/test/gone.txt")}}},
        {"combos-not-in-list", true, Packed({}), {{0, U"61"}, {3, U"abc"}, {7, U" 4"}}},
    };
    // clang-format on
}

void PrintNew(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    for (size_t i = 0; i < after.size(); ++i) {
        if (i >= before.size() || before[i] != after[i])
            std::printf("%s\n", after[i].c_str());
    }
}

// Messages, clipboard texts and files that are new or changed since `seen`.
void PrintEffects(testing::TestApp& t, size_t& messages, size_t& clips, size_t& calls,
                  std::map<Text, std::string>& seen) {
    // Every write and removal, an unchanged rewrite included.
    for (; calls < t.log.calls.size(); ++calls) {
        const std::string& call = t.log.calls[calls];
        if (call.rfind("write ", 0) == 0 || call.rfind("remove ", 0) == 0)
            std::printf("%s\n", Escape(call, false).c_str());
    }
    for (; messages < t.messages.shown.size(); ++messages) {
        const auto& m = t.messages.shown[messages];
        std::printf("message style=%d title=%s text=%s\n", m.style, Q(m.title).c_str(),
                    Q(m.text).c_str());
    }
    for (; clips < t.clipboard.texts.size(); ++clips)
        std::printf("clipboard %s\n", Q(t.clipboard.texts[clips]).c_str());
    for (const auto& [path, bytes] : t.files.files) {
        const auto old = seen.find(path);
        if (old != seen.end() && old->second == bytes)
            continue;
        std::printf("file %s (%zu bytes)\n    \"%s\"\n", Q(path).c_str(), bytes.size(),
                    Escape(bytes, true).c_str());
    }
    for (const auto& [path, bytes] : seen) {
        if (t.files.files.count(path) == 0)
            std::printf("file %s removed\n", Q(path).c_str());
    }
    seen = t.files.files;
}

void Record(const OptionSet& set, unsigned seed) {
    testing::TestApp t;
    const Text folder = testing::Folder(U"opt/velmo");
    const Text signature = testing::Rooted(U"home/test/Documents/signature.txt");
    t.files.files[folder + U"Variable.txt"] =
        "\"The first quote, short.\"\r\n"
        "\"Zweites Zitat: Äpfel & Öl — \"\"ünïcödé\"\" ☺\"\r\n"
        "\"A longer third entry that goes on well past sixty characters, so that it is "
        "wrapped over more than one line of the signature.\"\r\n";
    t.files.files[folder + U"Fixed.fxt"] = "\"Ann Writer\"\r\n\"Straße 7 · Köln\"\r\n";
    if (set.stored) {
        std::vector<Text> v = {U"60", Text(kStars), U"*", U"60",     Text(kStars), U"*",
                               U"*",  U"1",         U"*", signature, U"",          U""};
        for (const auto& [index, text] : set.values)
            v[static_cast<size_t>(index)] = text;
        const std::vector<Text> names = {
            U"Fixed width",      U"Top text like",      U"Top text repeat", U"Signature width",
            U"Bottom text like", U"Bottom text repeat", U"Left text like",  U"Indent",
            U"Right text like",  U"Signature File",     U"Variable File",   U"Fixed text File"};
        std::vector<StoredValue> values = {{U"Program Values", set.packed}};
        for (size_t i = 0; i < names.size(); ++i)
            values.push_back({names[i], v[i]});
        t.settings.SetValues(U"SOFTWARE\\Velmo\\User\\Freeware", values);
    }
    std::map<Text, std::string> seen = t.files.files;
    size_t messages = 0;
    size_t clips = 0;
    size_t calls = t.log.calls.size();
    t.random.engine.seed(seed);  // a different pick for each set

    std::printf("=== %s\nstored Program Values %s\n", set.name,
                set.stored ? Q(set.packed).c_str() : "(none)");
    const bool running = Main(t.app);
    std::printf("Main returned %d\n", running);
    const std::vector<std::string> started = ControlLines(t.app.form);
    for (const std::string& line : started)
        std::printf("%s\n", line.c_str());
    PrintEffects(t, messages, clips, calls, seen);

    std::printf("--- after Apply (changed lines only)\n");
    t.app.form.Apply.Click();
    PrintNew(started, ControlLines(t.app.form));
    PrintEffects(t, messages, clips, calls, seen);
}

}  // namespace
}  // namespace velmo

int main() {
    unsigned seed = 1;
    for (const velmo::OptionSet& set : velmo::Sets())
        velmo::Record(set, seed++);
    return 0;
}
