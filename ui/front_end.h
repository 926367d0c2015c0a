#pragma once

// What every front end's message boxes, file dialogs and window share,
// whatever toolkit draws them: the buttons a message offers and what Return
// and Escape answer, where a file dialog starts and which types it lists,
// and when the window is first needed.

#include <functional>
#include <vector>

#include "domain/paths.h"
#include "domain/text.h"
#include "platform/ports.h"
#include "ui/model/controls.h"

namespace velmo {

// The title of a message that names none.
inline constexpr TextView kDefaultMessageTitle = U"Velmo";

// A message's title as shown: its own, or the program's name.
Text MessageTitle(const Text& title);

// A message box's buttons in their order, the one Return presses and the
// one Escape (or closing the box) stands for.
struct MessageChoices {
    std::vector<Answer> buttons;
    Answer defaultAnswer = Answer::Ok;
    Answer escapeAnswer = Answer::Ok;
    friend bool operator==(const MessageChoices&, const MessageChoices&) = default;
};

MessageChoices ChoicesOf(const MessageStyle& style);

// Where a file dialog opens: a folder, and the name put in its name field.
struct DialogStart {
    Text folder;
    Text fileName;
    friend bool operator==(const DialogStart&, const DialogStart&) = default;
};

// The folder of a full initial path when it exists (the path itself when it
// is a folder), else `fallback`: never the process's current folder, where a
// bare name would land. The name is the initial path's last name unless the
// path is a folder.
DialogStart StartOfDialog(const Text& initial, PathStyle style,
                          const std::function<bool(const Text&)>& isFolder, const Text& fallback);

// The types a file dialog lists: those with words to read and at least one
// pattern, without their empty patterns.
FileFilters ListedFilters(const FileFilters& filters);

// Calls `build` once start-up is done, and then only when the window model
// is first shown or minimized: the signature does not wait for the window,
// and a start in the notification area builds none until it is opened.
// Called at most once.
class BuildOnFirstShow {
  public:
    BuildOnFirstShow(Form& form, std::function<void()> build);
    BuildOnFirstShow(const BuildOnFirstShow&) = delete;
    BuildOnFirstShow& operator=(const BuildOnFirstShow&) = delete;

    // Start-up is over: builds now if the model is shown or minimized.
    void StartUpDone();

  private:
    void Build();

    Form& form_;
    std::function<void()> build_;
    bool starting_ = true;
    bool built_ = false;
    // The model may outlive this object.
    Connection changed_;
};

}  // namespace velmo
