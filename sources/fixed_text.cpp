#include "sources/fixed_text.h"

#include <vector>

#include "core/app.h"
#include "core/file_text.h"
#include "output/output_selection.h"
#include "sources/text_fields.h"

namespace velmo {

namespace {

// Reads the records of a fixed text file; nothing when it cannot be read or
// holds more lines than the fixed text may have.
std::optional<Text> ReadFixedText(App& app, const Text& path) {
    FileResult result;
    const std::optional<std::string> bytes = app.ports.files.Read(path, result);
    if (!bytes)
        return std::nullopt;
    FieldReader reader(DecodeFileText(*bytes));
    Text joined;
    int count = 0;
    while (!reader.AtEnd()) {
        if (++count > kMaxFixedLines)
            return std::nullopt;
        if (count > 1)
            joined += CrLf;
        joined += reader.Next();
    }
    return joined;
}

}  // namespace

void LoadFixedText(App& app, const Text& requested) {
    const Text path = requested.empty() ? app.AppPath + Text(FixedTextFileName) : requested;
    if (std::optional<Text> text = ReadFixedText(app, path)) {
        app.form.txtFixed.Text = std::move(*text);
        return;
    }
    if (app.form.chkFixed.Value != 1)
        return;
    const int answer = app.ports.messages.Show(
        U"I have not been able to find your Fixed Text.\r\n"
        U"Press YES if you would like to help me find it.\r\n"
        U"Press NO if you would like to start without it.",
        msgbox::YesNoCritical, path + U" Error");
    if (answer == msgbox::Yes) {
        LoadFixedText(app,
                      OpenFileDialog(app, path, U"Fixed Text Files (*.fxt)|*.fxt|", U"Fixed Text"));
    }
}

bool SaveFixedText(App& app) {
    const Text text = app.form.txtFixed.Text.get() + Text(CrLf);
    std::vector<Text> lines;
    for (size_t pos = 0, p; (p = text.find(CrLf, pos)) != Text::npos; pos = p + 2) {
        lines.push_back(text.substr(pos, p - pos));
    }

    bool dropped = false;
    for (size_t i = kMaxFixedLines; i < lines.size(); ++i)
        dropped = dropped || !lines[i].empty();
    if (lines.size() > kMaxFixedLines)
        lines.resize(kMaxFixedLines);

    Text content;
    for (const Text& line : lines)
        content += QuotedRecord(line);
    const Text path = app.AppPath + Text(FixedTextFileName);
    const FileResult result = app.ports.files.Replace(path, EncodeFileText(content));
    if (!result) {
        app.ports.messages.Show(U"Unable to save the fixed text file" + Text(CrLf) + path +
                                    Text(CrLf) + FromUtf8(result.Message()) + Text(CrLf) +
                                    U"Your fixed text is kept until you close Velmo.",
                                msgbox::OkExclamation, U"Fixed Text");
        return false;
    }
    if (dropped) {
        app.ports.messages.Show(U"The fixed text may have at most 15 lines." + Text(CrLf) +
                                    U"Lines after the 15th were not saved.",
                                msgbox::OkExclamation, U"Fixed Text");
    }
    return true;
}

void chkFixed_Click(App& app) {
    app.form.txtFixed.Enabled = app.form.chkFixed.Value != 0;
}

void txtFixed_Change(App& app) {
    MainForm& f = app.form;
    f.chkFixed.Value = f.txtFixed.Text.get().empty() ? 0 : 1;
}

void txtFixed_LostFocus(App& app) {
    SaveFixedText(app);
}

void ConnectFixedTextHandlers(App& app) {
    MainForm& f = app.form;
    f.chkFixed.Click += [&app] { chkFixed_Click(app); };
    f.txtFixed.Change += [&app] { txtFixed_Change(app); };
    f.txtFixed.LostFocus += [&app] { txtFixed_LostFocus(app); };
}

}  // namespace velmo
