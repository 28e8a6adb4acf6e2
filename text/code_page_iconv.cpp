// Native back end of the code-page layer. Code page 936 goes through tables
// built once from iconv, so that a page of half a megabyte converts without an
// iconv call per character and so that invalid input is handled the way the
// Windows conversions handle it (a lead byte takes the byte after it along,
// an unmapped pair or character becomes '?'). UTF-8 is decoded here directly:
// every invalid sequence becomes one U+FFFD per maximal subpart, as Windows does.
#include "text/code_page.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kQuestion = u'?';
constexpr unsigned char kFirstLead = 0x81;
constexpr unsigned char kLastLead = 0xFE;
constexpr char16_t kEuro = 0x20AC;        // the single byte 0x80 of Windows 936
constexpr char16_t kPrivateF8F5 = 0xF8F5; // the single byte 0xFF of Windows 936

class Gbk936Tables {
public:
  static const Gbk936Tables* get() {
    static const std::unique_ptr<Gbk936Tables> tables = build();
    return tables.get();
  }
  // 0 when the pair is not a character.
  char16_t pair_to_unit(unsigned char lead, unsigned char trail) const {
    return pairs_[(lead - kFirstLead) * 256u + trail];
  }
  // 0 when code page 936 lacks the character; below 0x100 a single byte,
  // otherwise lead byte * 256 + trail byte.
  uint16_t unit_to_code(char16_t unit) const { return units_[unit]; }

private:
  static std::unique_ptr<Gbk936Tables> build() {
    // glibc knows Windows 936 as CP936 (0x80 is the euro sign there); GBK
    // lacks the euro sign, which is set below whichever name worked.
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    for (const char* name : {"CP936", "WINDOWS-936", "GBK"}) {
      cd = iconv_open("UTF-16LE", name);
      if (cd != reinterpret_cast<iconv_t>(-1)) break;
    }
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;

    auto tables = std::make_unique<Gbk936Tables>();
    tables->pairs_.assign((kLastLead - kFirstLead + 1) * 256u, 0);
    tables->units_.assign(65536, 0);
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[8];
        char* in_ptr = in;
        size_t in_left = 2;
        char* out_ptr = reinterpret_cast<char*>(out);
        size_t out_left = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) continue;
        if (in_left != 0 || sizeof out - out_left != 2) continue;  // not exactly one BMP character
        const char16_t unit = static_cast<char16_t>(out[0] | (out[1] << 8));
        if (unit < 0x80 || (unit >= 0xD800 && unit <= 0xDFFF)) continue;
        tables->pairs_[(lead - kFirstLead) * 256u + trail] = unit;
        if (tables->units_[unit] == 0) tables->units_[unit] = static_cast<uint16_t>(lead << 8 | trail);
      }
    }
    iconv_close(cd);
    tables->add_private_use_area();
    tables->units_[kEuro] = 0x80;
    tables->units_[kPrivateF8F5] = 0xFF;
    return tables;
  }

  // Windows 936 gives the user-defined areas and the unassigned places of
  // the GB2312 block private-use characters, numbered on in byte order.
  void add_private_use_area() {
    char16_t next = 0xE000;
    const auto assign = [&](unsigned first_lead, unsigned last_lead, unsigned first_trail, unsigned last_trail,
                            bool only_unassigned) {
      for (unsigned lead = first_lead; lead <= last_lead; ++lead) {
        for (unsigned trail = first_trail; trail <= last_trail; ++trail) {
          if (trail == 0x7F) continue;
          char16_t& unit = pairs_[(lead - kFirstLead) * 256u + trail];
          if (only_unassigned && unit != 0) continue;
          if (unit != 0 && units_[unit] == (lead << 8 | trail)) units_[unit] = 0;
          unit = next++;
          units_[unit] = static_cast<uint16_t>(lead << 8 | trail);
        }
      }
    };
    assign(0xAA, 0xAF, 0xA1, 0xFE, false);  // user-defined area 1: U+E000..
    assign(0xF8, 0xFE, 0xA1, 0xFE, false);  // user-defined area 2: U+E234..
    assign(0xA1, 0xA7, 0x40, 0xA0, false);  // user-defined area 3: U+E4C6..
    assign(0xA1, 0xA7, 0xA1, 0xFE, true);   // gaps of the symbol rows: U+E766..
    assign(0xA8, 0xA9, 0x40, 0xFE, true);
    assign(0xD7, 0xD7, 0xFA, 0xFE, true);
    assign(0xFE, 0xFE, 0x50, 0xA0, false);
  }

  std::vector<char16_t> pairs_;
  std::vector<uint16_t> units_;
};

std::u16string gbk_to_utf16(const Gbk936Tables& tables, std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
    } else if (b == 0x80) {
      out.push_back(kEuro);
      ++i;
    } else if (b == 0xFF) {
      out.push_back(kPrivateF8F5);
      ++i;
    } else if (i + 1 < n && bytes[i + 1] != '\0') {
      // A lead byte always takes the next byte along, valid pair or not.
      const char16_t unit = tables.pair_to_unit(b, static_cast<unsigned char>(bytes[i + 1]));
      out.push_back(unit != 0 ? unit : kQuestion);
      i += 2;
    } else {
      out.push_back(kQuestion);
      ++i;
    }
  }
  return out;
}

std::string utf16_to_gbk(const Gbk936Tables& tables, std::u16string_view text) {
  // At most two bytes a code unit: written in place, cut to size at the end.
  std::string out(text.size() * 2, '\0');
  char* w = out.data();
  for (const char16_t unit : text) {
    if (unit < 0x80) {
      *w++ = static_cast<char>(unit);
      continue;
    }
    // Surrogates are never in code page 936: each half becomes '?'.
    const uint16_t code = tables.unit_to_code(unit);
    if (code == 0) {
      *w++ = '?';
    } else if (code < 0x100) {
      *w++ = static_cast<char>(code);
    } else {
      *w++ = static_cast<char>(code >> 8);
      *w++ = static_cast<char>(code & 0xFF);
    }
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return out;
}

std::u16string utf8_to_utf16(std::string_view bytes) {
  // Never more code units than bytes: written in place, cut to size at the end.
  std::u16string out(bytes.size(), u'\0');
  char16_t* w = out.data();
  const size_t n = bytes.size();
  const auto at = [&](size_t j) { return static_cast<unsigned char>(bytes[j]); };
  for (size_t i = 0; i < n;) {
    // Pages are mostly ASCII: eight bytes at a time while none has its high bit.
    uint64_t word;
    while (i + 8 <= n && (std::memcpy(&word, bytes.data() + i, 8), (word & 0x8080808080808080ull) == 0)) {
      for (int k = 0; k < 8; ++k) w[k] = static_cast<unsigned char>(bytes[i + k]);
      w += 8;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char b0 = at(i);
    if (b0 < 0x80) {
      *w++ = b0;
      ++i;
      continue;
    }
    // Well-formed sequences per the Unicode table of UTF-8 byte sequences: the
    // range allowed for the second byte depends on the first (no overlongs, no
    // surrogates, nothing above U+10FFFF).
    int need;
    unsigned char lo = 0x80, hi = 0xBF;
    uint32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      need = 1;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      need = 2;
      cp = b0 & 0x0F;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      need = 3;
      cp = b0 & 0x07;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      *w++ = kReplacement;
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    while (got < need && j < n && at(j) >= lo && at(j) <= hi) {
      cp = cp << 6 | (at(j) & 0x3F);
      ++j;
      ++got;
      lo = 0x80;
      hi = 0xBF;
    }
    if (got != need) {
      *w++ = kReplacement;  // the maximal subpart is consumed as one
    } else if (cp < 0x10000) {
      *w++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *w++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *w++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i = j;
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // a lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace

std::optional<std::u16string> multibyte_to_utf16(unsigned code_page, std::string_view bytes) {
  if (code_page == kCodePageUtf8) return utf8_to_utf16(bytes);
  if (code_page == kCodePageGbk) {
    const Gbk936Tables* tables = Gbk936Tables::get();
    if (tables == nullptr) return std::nullopt;
    return gbk_to_utf16(*tables, bytes);
  }
  return std::nullopt;
}

std::optional<std::string> utf16_to_multibyte(unsigned code_page, std::u16string_view text) {
  if (code_page == kCodePageUtf8) return utf16_to_utf8(text);
  if (code_page == kCodePageGbk) {
    const Gbk936Tables* tables = Gbk936Tables::get();
    if (tables == nullptr) return std::nullopt;
    return utf16_to_gbk(*tables, text);
  }
  return std::nullopt;
}
