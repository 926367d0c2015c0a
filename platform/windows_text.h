#pragma once

// Text across the Windows API: UTF-16 for the wide functions, the ANSI code
// page for the others.

#include <string>

#include "domain/text.h"

namespace velmo {

std::wstring ToWide(TextView text);
Text FromWide(std::wstring_view wide);
std::string ToAnsi(TextView text);
Text FromAnsi(std::string_view bytes);

}  // namespace velmo
