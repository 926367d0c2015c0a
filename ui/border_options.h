#pragma once

namespace velmo {

struct App;

// The Borders and Borders2 tabs: which border controls are usable, the
// 40-character rule for a "Like" top border, the length counters, the
// selection by typing, and the four Apply buttons.
void chkBorder_Click(App& app);
void SetBorderControls(App& app);
void txtTopLike_KeyPress(App& app, int& keyAscii);
void txtBottomLike_KeyPress(App& app, int& keyAscii);
void txtBottomRepeat_KeyPress(App& app, int& keyAscii);
void txtRightLike_KeyPress(App& app, int& keyAscii);
void txtTopRepeat_Change(App& app);
void txtTopLike_LostFocus(App& app);
void cmdApplyFixed_Click(App& app);
void cmdApplyBorders_Click(App& app);
void cmdApplySideBorders_Click(App& app);
void cmdApplyOptions_Click(App& app);

void ConnectBorderHandlers(App& app);

inline constexpr int kMinLikeBorder = 40;

}  // namespace velmo
