#pragma once

namespace velmo {

struct App;

void ConnectClipboardHandlers(App& app);

}  // namespace velmo
