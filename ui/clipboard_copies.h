#pragma once

namespace velmo {

struct App;

// The tray menu's copies: the variable part above the fixed part, either
// alone, each followed by a line break; no layout applied.
void mnuCopySignature_Click(App& app);
void mnuCopyVariablePart_Click(App& app);
void mnuCopyFixedPart_Click(App& app);

void ConnectClipboardHandlers(App& app);

}  // namespace velmo
