#pragma once

namespace velmo {

struct App;

// The Variable tab's editor: paging through the entries, editing the shown
// one in place, adding, deleting, using it, and switching the part on or off.
void ShowEntry(App& app);
void btnAllBack_Click(App& app);
void btnBackOne_Click(App& app);
void btnForwardOne_Click(App& app);
void btnForwardAll_Click(App& app);
void btnNew_Click(App& app);
void btnDelete_Click(App& app);
void UseEntry_Click(App& app);
void txtVar_Change(App& app);
void txtVar_LostFocus(App& app);
void chkVar_Click(App& app);

void ConnectEntryEditorHandlers(App& app);

}  // namespace velmo
