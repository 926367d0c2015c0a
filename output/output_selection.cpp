#include "output/output_selection.h"

#include "core/app.h"
#include "output/signature_file.h"

namespace velmo {

namespace {

TextView LastThree(TextView path) {
    return path.size() >= 3 ? path.substr(path.size() - 3) : path;
}

void ShowChosenFile(App& app, const Text& path) {
    app.SignatureFilePath = path;
    app.form.chkFile.Value = 1;
    CheckSignatureFile(app);
    app.form.txtSigFile.Text = ShortenPath(app.SignatureFilePath, 55);
}

// A change of output type asks for a file of the new kind unless the current
// one already is one.
void ChangeOutputType(App& app, TextView extension, TextView filter) {
    if (LastThree(app.SignatureFilePath) == extension)
        return;
    const Text previous = app.SignatureFilePath;
    app.SignatureFilePath.clear();
    const std::optional<Text> chosen =
        ChooseFile(app, Text(), filter, app.form.CommonDialog1.DialogTitle);
    if (!chosen) {
        // Cancelled: the file in use stays in use.
        app.SignatureFilePath = previous;
        return;
    }
    ShowChosenFile(app, *chosen);
}

}  // namespace

std::optional<Text> ChooseFile(App& app, const Text& initial, TextView filter, const Text& title) {
    std::optional<Text> chosen = app.ports.fileDialog.OpenFile(initial, Text(filter), title);
    if (chosen && chosen->empty())
        return std::nullopt;
    return chosen;
}

Text OpenFileDialog(App& app, const Text& initial, TextView filter, const Text& title) {
    return ChooseFile(app, initial, filter, title).value_or(initial);
}

Text ShortenPath(TextView path, int limit, PathStyle style) {
    if (limit == 0)
        limit = 55;
    const size_t firstDot = path.find(U'.');
    const long long dot = firstDot == TextView::npos ? 0 : static_cast<long long>(firstDot) + 1;
    if (dot <= limit)
        return Text(path);

    const size_t headLength = style == PathStyle::Windows ? 3 : 1;
    const Text head(path.substr(0, headLength));
    const char32_t separator = Separator(style);
    // Positions count from 1; p is the separator found from `start` on. The
    // walk starts at the head's last character: a tail taken from a separator
    // inside the head (the "\\" of a network path) would show the head twice.
    size_t start = headLength;
    while (true) {
        const size_t found = path.find(separator, start - 1);
        if (found == TextView::npos)
            return head + U"...";
        const size_t p = found + 1;
        start = p + 1;
        if (dot - static_cast<long long>(start) < limit) {
            return head + U"..." + Text(path.substr(p - 1, static_cast<size_t>(dot) + 3));
        }
    }
}

void cmdSigFile_Click(App& app) {
    const MainForm& form = app.form;
    Text initial;
    TextView filter;
    if (!app.SignatureFilePath.empty()) {
        initial = app.SignatureFilePath;
        const TextView ext = LastThree(initial);
        filter = ext == U"txt"   ? filters::Text
                 : ext == U"htm" ? filters::Html
                 : ext == U"rtf" ? filters::RichText
                                 : filters::All;
    } else {
        initial = app.AppPath;
        filter = form.optText.Value   ? filters::Text
                 : form.optHTML.Value ? filters::Html
                 : form.optRTF.Value  ? filters::RichText
                                      : filters::All;
    }
    const std::optional<Text> chosen =
        ChooseFile(app, initial, filter, form.CommonDialog1.DialogTitle);
    // Cancelled: nothing changes, and no folder is taken for the file.
    if (!chosen)
        return;
    ShowChosenFile(app, *chosen);
}

void optText_Click(App& app) {
    ChangeOutputType(app, U"txt", filters::TextType);
}
void optHTML_Click(App& app) {
    ChangeOutputType(app, U"htm", filters::HtmlType);
}
void optRTF_Click(App& app) {
    ChangeOutputType(app, U"rtf", filters::RichTextType);
}

void ConnectOutputHandlers(App& app) {
    MainForm& f = app.form;
    f.cmdSigFile.Click += [&app] { cmdSigFile_Click(app); };
    f.optText.Click += [&app] { optText_Click(app); };
    f.optHTML.Click += [&app] { optHTML_Click(app); };
    f.optRTF.Click += [&app] { optRTF_Click(app); };
}

}  // namespace velmo
