#pragma once

namespace velmo {

struct App;

// The Variable tab's editor: paging through the entries, editing the shown
// one in place, adding, deleting, using it, and switching the part on or off.
void ShowEntry(App& app);
void cmdFirstEntry_Click(App& app);
void cmdPreviousEntry_Click(App& app);
void cmdNextEntry_Click(App& app);
void cmdLastEntry_Click(App& app);
void cmdNewEntry_Click(App& app);
void cmdDeleteEntry_Click(App& app);
void cmdUseEntry_Click(App& app);
void txtEntry_Change(App& app);
void txtEntry_LostFocus(App& app);
void chkVariablePart_Click(App& app);

void ConnectEntryEditorHandlers(App& app);

}  // namespace velmo
