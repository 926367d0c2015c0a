#pragma once

namespace velmo {

struct App;

void ConnectBorderHandlers(App& app);

inline constexpr int kMinLikeBorder = 40;

}  // namespace velmo
