#pragma once
// Letter case for matching without regard to case: every code unit maps to a
// canonical (upper-case) form; two units match when their forms are equal.
// Covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters, where each letter has exactly one partner in the other case
// (letters with a third form, such as the final sigma, keep to themselves).

// Latin Extended-A pairs its letters as neighbours: upper case on even units
// from U+0100 to U+0137 and from U+014A to U+0177, on odd units from U+0139
// to U+0148 and from U+0179 to U+017E.
inline bool latin_extended_a_upper(char16_t c) {
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c % 2 == 0 && c != 0x130;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1;
  return false;
}
inline bool latin_extended_a_lower(char16_t c) {
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c % 2 == 1 && c != 0x131;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 0;
  return false;
}

inline char16_t fold_case(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A)) {
    return static_cast<char16_t>(c - 0x20);
  }
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (latin_extended_a_lower(c)) return static_cast<char16_t>(c - 1);
  if (c == 0xFF) return 0x178;
  switch (c) {  // Greek with tonos or dialytika
    case 0x3AC: return 0x386;
    case 0x3AD: case 0x3AE: case 0x3AF: return static_cast<char16_t>(c - 0x25);
    case 0x3CC: return 0x38C;
    case 0x3CD: case 0x3CE: return static_cast<char16_t>(c - 0x3F);
    case 0x3CA: case 0x3CB: return static_cast<char16_t>(c - 0x20);
    default: return c;
  }
}

// The lower-case partner of a canonical form (the unit itself when it has none).
inline char16_t unfold_case(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
    return static_cast<char16_t>(c + 0x20);
  }
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  if (latin_extended_a_upper(c)) return static_cast<char16_t>(c + 1);
  if (c == 0x178) return 0xFF;
  switch (c) {
    case 0x386: return 0x3AC;
    case 0x388: case 0x389: case 0x38A: return static_cast<char16_t>(c + 0x25);
    case 0x38C: return 0x3CC;
    case 0x38E: case 0x38F: return static_cast<char16_t>(c + 0x3F);
    case 0x3AA: case 0x3AB: return static_cast<char16_t>(c + 0x20);
    default: return c;
  }
}
