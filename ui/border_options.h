#pragma once

namespace velmo {

struct App;

// The Borders and Borders2 tabs: which border controls are usable, the
// 40-character rule for a "Like" top border, the length counters, the
// selection by typing, and the four Apply buttons.
void chkBorder_Click(App& app);
void SetBorderControls(App& app);
void txtTBLike_KeyPress(App& app, int& keyAscii);
void txtBBLike_KeyPress(App& app, int& keyAscii);
void txtBBRepeat_KeyPress(App& app, int& keyAscii);
void txtSBSRightLike_KeyPress(App& app, int& keyAscii);
void txtTBRepeat_Change(App& app);
void txtTBLike_LostFocus(App& app);
void Apply_Click(App& app);
void cmdApply2_Click(App& app);
void cmdApply3_Click(App& app);
void cmdApply4_Click(App& app);

void ConnectBorderHandlers(App& app);

inline constexpr int kMinLikeBorder = 40;

}  // namespace velmo
