#pragma once

namespace velmo {

struct App;

// The Variable tab's editor: paging through the entries, editing the shown
// one in place, adding, deleting, using it, and switching the part on or off.
void ShowEntry(App& app);

// The entry editor: moving through the quote list, new and deleted entries,
// the question whether to save an edit when the editor loses the focus, Use
// Entry, and the box that includes the variable part.
void ConnectEntryEditorHandlers(App& app);

}  // namespace velmo
