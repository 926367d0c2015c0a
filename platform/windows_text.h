#pragma once

// Text across the Windows API: UTF-16 for the wide functions, the ANSI code
// page for the others.

#include <optional>
#include <string>

#include "domain/text.h"

namespace velmo {

std::wstring ToWide(TextView text);
Text FromWide(std::wstring_view wide);
// The text in the ANSI code page, or nothing when the code page cannot hold
// all of it: a character it lacks or would replace by a look-alike ("a" for
// "α") counts as lost.
std::optional<std::string> ToAnsiExactly(TextView text);
Text FromAnsi(std::string_view bytes);

}  // namespace velmo
