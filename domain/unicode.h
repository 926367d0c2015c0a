#pragma once

// The Unicode properties that text layout needs, per code point, from tables
// generated out of the Unicode Character Database (see kUnicodeVersion).

#include <cstdint>

namespace velmo::unicode {

// The version of the Unicode Character Database the tables come from.
extern const char* const kUnicodeVersion;

// Grapheme_Cluster_Break (UAX #29).
enum class GraphemeBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    ZWJ,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT,
};

// Line_Break (UAX #14), before the resolution of its rule LB1.
// clang-format off
enum class LineBreak : std::uint8_t {
    XX, BK, CR, LF, CM, NL, SG, WJ, ZW, GL, SP, ZWJ, B2, BA, BB, HY, CB, CL, CP, EX, IN, NS,
    OP, QU, IS, NU, PO, PR, SY, AI, AL, CJ, EB, EM, H2, H3, HL, ID, JL, JV, JT, RI, SA,
};
// clang-format on

// East_Asian_Width (UAX #11).
enum class EastAsianWidth : std::uint8_t { N, A, H, W, F, Na };

// Binary properties, as bits of CharProperties::flags.
enum Flag : std::uint8_t {
    kEmoji = 1,
    kEmojiPresentation = 2,
    kEmojiModifier = 4,
    kEmojiModifierBase = 8,
    kExtendedPictographic = 16,
    kMark = 32,         // General_Category Mn, Mc or Me
    kZeroWidth = 64,    // a mark or a format character (Cf): no column of its own
    kUnassigned = 128,  // General_Category Cn
};

struct CharProperties {
    GraphemeBreak grapheme;
    LineBreak line;
    EastAsianWidth width;
    std::uint8_t flags;

    bool Has(Flag flag) const { return (flags & flag) != 0; }
};

// The properties of a code point; beyond U+10FFFF, those of U+FFFD.
CharProperties PropertiesOf(char32_t c);

}  // namespace velmo::unicode
