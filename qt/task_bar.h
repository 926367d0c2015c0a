#pragma once

// Whether the desktop's task bar lists a window.

class QWidget;

namespace velmo {

// Asks for `window` to have a button on the task bar and a place in the
// pager (`listed`), or neither. Qt::Tool alone keeps a window off the task
// bar on Windows but not on X11, where Qt has no call for it. Call it just
// before showing the window, for the state it is mapped with, and again just
// after, for a window manager that manages the window already or that cleared
// the state when the window was last hidden.
void ListOnTaskBar(QWidget& window, bool listed);

}  // namespace velmo
