#pragma once

namespace velmo {

struct App;

// The Borders and Borders2 tabs: which border controls are usable, the
// 40-character rule for a "Like" top border, the length counters, the
// selection by typing, and the four Apply buttons.
void ConnectBorderHandlers(App& app);

inline constexpr int kMinLikeBorder = 40;

}  // namespace velmo
