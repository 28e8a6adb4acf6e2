#pragma once
// Fuzz bytes read as UTF-16 code units: any unit at all, lone surrogates and
// letters of other scripts included, which code page 936 text cannot spell.
#include <cstddef>
#include <string>

// Byte pairs as UTF-16 code units (a last odd byte on its own).
inline std::u16string as_units(const std::string& bytes) {
  std::u16string out;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto low = static_cast<unsigned char>(bytes[i]);
    const auto high = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
    out.push_back(static_cast<char16_t>(low | high << 8));
  }
  return out;
}
