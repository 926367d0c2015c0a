#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

inline constexpr TextView HomePageAddress = U"https://velmo.example.org/";
inline constexpr TextView MailAddress = U"velmo@example.org";

void ConnectAboutHandlers(App& app);

}  // namespace velmo
