#include "ui/front_end.h"

#include <algorithm>

namespace velmo {

Text MessageTitle(const Text& title) {
    return title.empty() ? Text(kDefaultMessageTitle) : title;
}

MessageChoices ChoicesOf(const MessageStyle& style) {
    MessageChoices choices;
    // Escape stands for Cancel where there is one, else for No.
    switch (style.buttons) {
        case MessageButtons::Ok:
            choices = {{Answer::Ok}, Answer::Ok, Answer::Ok};
            break;
        case MessageButtons::OkCancel:
            choices = {{Answer::Ok, Answer::Cancel}, Answer::Ok, Answer::Cancel};
            break;
        case MessageButtons::YesNo:
            choices = {{Answer::Yes, Answer::No}, Answer::Yes, Answer::No};
            break;
        case MessageButtons::YesNoCancel:
            choices = {{Answer::Yes, Answer::No, Answer::Cancel}, Answer::Yes, Answer::Cancel};
            break;
    }
    // A named default only where the box has that button.
    if (style.defaultAnswer &&
        std::ranges::find(choices.buttons, *style.defaultAnswer) != choices.buttons.end())
        choices.defaultAnswer = *style.defaultAnswer;
    return choices;
}

DialogStart StartOfDialog(const Text& initial, PathStyle style,
                          const std::function<bool(const Text&)>& isFolder, const Text& fallback) {
    DialogStart start{fallback, Text()};
    if (initial.empty())
        return start;
    const bool full = IsFullPath(initial, style);
    if (full && isFolder(initial)) {
        start.folder = initial;
        return start;
    }
    const Text folder = ContainingFolder(initial, style);
    start.fileName = initial.substr(folder.size());
    if (full && isFolder(folder))
        start.folder = folder;
    return start;
}

FileFilters ListedFilters(const FileFilters& filters) {
    FileFilters listed;
    for (const FileFilter& filter : filters) {
        FileFilter kept{filter.description, {}};
        for (const Text& pattern : filter.patterns) {
            if (!pattern.empty())
                kept.patterns.push_back(pattern);
        }
        if (!kept.description.empty() && !kept.patterns.empty())
            listed.push_back(std::move(kept));
    }
    return listed;
}

BuildOnFirstShow::BuildOnFirstShow(Form& form, std::function<void()> build)
    : form_(form), build_(std::move(build)) {
    changed_ = form_.Changed.Connect([this](Control* control, Property property) {
        if (starting_ || built_ || control != nullptr)
            return;
        if ((property == Property::Visible && form_.Visible) ||
            (property == Property::Minimized && form_.Minimized)) {
            Build();
        }
    });
}

void BuildOnFirstShow::StartUpDone() {
    starting_ = false;
    if (!built_ && (form_.Visible || form_.Minimized))
        Build();
}

void BuildOnFirstShow::Build() {
    built_ = true;
    if (build_)
        build_();
}

}  // namespace velmo
