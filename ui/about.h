#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

inline constexpr TextView HomePageAddress = U"https://velmo.example.org/";
inline constexpr TextView MailAddress = U"velmo@example.org";

// Link labels look hovered while the pointer is on them, and plain again
// once it crosses the page background.
void lblMailAddress_MouseMove(App& app);
void lblHomePage_MouseMove(App& app);
void Tabs_MouseMove(App& app);

// Clicking a link label opens it in the user's browser or mail program.
void lblMailAddress_Click(App& app);
void lblHomePage_Click(App& app);

void ConnectAboutHandlers(App& app);

}  // namespace velmo
