#pragma once

namespace velmo {

struct App;

// The tray menu's copies: the variable part above the fixed part, either
// alone, each followed by a line break; no layout applied.
void ConnectClipboardHandlers(App& app);

}  // namespace velmo
