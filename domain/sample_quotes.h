#pragma once

#include <array>

#include "domain/text.h"

namespace velmo {

// Quotations in the public domain, written as the first "Variable.txt" so
// that a newcomer's first signature already has one.
extern const std::array<TextView, 30> SampleQuotes;

}  // namespace velmo
