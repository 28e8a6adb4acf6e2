#pragma once
// quenlit.ini, the optional settings file beside the program, says which
// search site to ask. Platform-free: the file's bytes in, the site or what is
// wrong with the file out.
//
//   [site]
//   address=127.0.0.1:8765
//   ; or address=https://example.org (http:// or https://, then a host and
//   ; an optional port; nothing else)
//
// The file is UTF-8 (with or without a byte-order mark) or code page 936.
// Blank lines and lines starting with ';' or '#' are skipped; section and key
// names ignore case and the spaces around them and around values; sections
// other than [site] and keys other than address are left alone, so that a
// newer file still works here.
#include <string>

#include "text/text.h"

struct SiteSettings {
  // "http://host", "http://host:port", "https://host" or "https://host:port";
  // empty when the file names no site or has a problem.
  Text origin;
  // What is wrong with the file, for the user (code page 936, no full stop at
  // the end); empty when the file is sound.
  Text problem;
};

SiteSettings parse_site_settings(const std::string& file_bytes);

// One address value (already trimmed), as the file's `address=` holds it.
SiteSettings parse_site_address(const Text& address);

// The start-up message for a file with a problem: names the file and what is
// wrong, and says which site the program asks instead.
Text site_settings_message(const Text& file_path, const Text& problem, const Text& default_origin);
