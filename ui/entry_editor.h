#pragma once

namespace velmo {

struct App;

// The Variable tab's editor: paging through the entries, editing the shown
// one in place, adding, deleting, using it, and switching the part on or off.
void ShowEntry(App& app);

void ConnectEntryEditorHandlers(App& app);

}  // namespace velmo
