#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

inline constexpr TextView HomePageAddress = U"https://velmo.example.org/";
inline constexpr TextView MailAddress = U"velmo@example.org";

// The About tab: link labels look hovered while the pointer is on them, and
// a click opens them in the browser or mail program.
void ConnectAboutHandlers(App& app);

}  // namespace velmo
