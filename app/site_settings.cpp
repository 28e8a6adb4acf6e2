#include "app/site_settings.h"

#include <optional>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace {

// A well-formed UTF-8 sequence (no overlong forms, no surrogates, nothing
// above U+10FFFF) at every place.
bool is_utf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > s.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// UTF-8 in code page 936; a character it lacks becomes '?'.
Text utf8_to_text(std::string_view utf8) {
  return utf8_to_gbk_text(utf8).value_or(Text());
}

// The file as the program's text: UTF-8 is converted, code page 936 kept.
Text file_text(const std::string& bytes) {
  static const char kBom[] = "\xEF\xBB\xBF";
  if (bytes.compare(0, 3, kBom) == 0) return utf8_to_text(std::string_view(bytes).substr(3));
  return is_utf8(bytes) ? utf8_to_text(bytes) : bytes;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_ascii_alnum(char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

Text trim(const Text& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && is_blank(s[begin])) ++begin;
  while (end > begin && is_blank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

Text lower_ascii(Text s) {
  for (char& c : s) c = lower(c);
  return s;
}

// The first `wanted` that is a character of its own, not the second byte of a
// double-byte character (whose second byte may be '[' or ']').
size_t find_char(const Text& s, char wanted, size_t from = 0) {
  for (size_t i = from; i < s.size(); ++i) {
    if (s[i] == wanted) return i;
    if (static_cast<unsigned char>(s[i]) >= 0x81) ++i;
  }
  return Text::npos;
}

Text line_label(size_t number) { return "第 " + std::to_string(number) + " 行"; }

SiteSettings problem(const Text& what) { return SiteSettings{Text(), what}; }

// A host name or IPv4 address (letters, digits, '-', '.', '_'), or an IPv6
// address in brackets.
bool is_host(const Text& host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    for (size_t i = 1; i + 1 < host.size(); ++i) {
      const char c = host[i];
      if (!(is_ascii_alnum(c) && (c <= '9' || (lower(c) >= 'a' && lower(c) <= 'f'))) && c != ':' && c != '.') {
        return false;
      }
    }
    return true;
  }
  for (char c : host) {
    if (!is_ascii_alnum(c) && c != '-' && c != '.' && c != '_') return false;
  }
  return true;
}

// 1 to 65535 in decimal digits, written without leading zeros.
std::optional<Text> port_number(const Text& port) {
  if (port.empty() || port.size() > 5) return std::nullopt;
  long value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return std::nullopt;
  return std::to_string(value);
}

}  // namespace

SiteSettings parse_site_address(const Text& address) {
  if (address.empty()) return problem("address 的值是空的，没有写网站的主机名");
  if (find_char(address, ' ') != Text::npos || find_char(address, '\t') != Text::npos) {
    return problem("地址“" + address + "”中有空格");
  }
  Text scheme = "http";
  Text rest = address;
  const size_t separator = rest.find("://");
  if (separator != Text::npos) {
    scheme = lower_ascii(rest.substr(0, separator));
    if (scheme != "http" && scheme != "https") {
      return problem("地址“" + address + "”只能以 http:// 或 https:// 开头");
    }
    rest = rest.substr(separator + 3);
  }
  // A lone '/' after the host is what a browser's address bar shows; any
  // other path is refused, since the program adds its own.
  if (!rest.empty() && rest.back() == '/' && find_char(rest, '/') == rest.size() - 1) rest.pop_back();
  if (find_char(rest, '/') != Text::npos || find_char(rest, '?') != Text::npos || find_char(rest, '#') != Text::npos) {
    return problem("地址“" + address + "”只能是主机名和可选的端口，不能带路径");
  }
  Text host = rest;
  std::optional<Text> port;
  const size_t bracket = find_char(rest, ']');
  const size_t colon = rest.rfind(':');
  if (colon != Text::npos && (bracket == Text::npos || colon > bracket)) {
    host = rest.substr(0, colon);
    port = port_number(rest.substr(colon + 1));
    if (!port) return problem("地址“" + address + "”的端口“" + rest.substr(colon + 1) + "”不是 1 到 65535 之间的数");
  }
  if (host.empty()) return problem("地址“" + address + "”中没有主机名");
  if (!is_host(host)) {
    return problem("地址“" + address + "”的主机名“" + host + "”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）");
  }
  return SiteSettings{scheme + "://" + host + (port ? ":" + *port : Text()), Text()};
}

SiteSettings parse_site_settings(const std::string& file_bytes) {
  if (file_bytes.find('\0') != std::string::npos) {
    return problem("文件中有零字节（也许存成了 UTF-16），请存为 UTF-8 或 GBK 编码");
  }
  const Text text = file_text(file_bytes);
  Text section;                // lower case; empty before the first section
  bool in_site = false;
  size_t address_line = 0;     // where [site] address was seen, 0: not yet
  Text address;
  size_t number = 0;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == Text::npos) end = text.size();
    Text line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      const size_t close = find_char(line, ']', 1);
      if (close != line.size() - 1) return problem(line_label(number) + "“" + line + "”不是 [节名] 的样子");
      section = lower_ascii(trim(line.substr(1, close - 1)));
      in_site = section == "site";
      continue;
    }
    const size_t equals = find_char(line, '=');
    if (equals == Text::npos) {
      return problem(line_label(number) + "“" + line + "”既不是 [节名]，也不是 名称=值");
    }
    const Text key = lower_ascii(trim(line.substr(0, equals)));
    if (key.empty()) return problem(line_label(number) + "“" + line + "”的等号前没有名称");
    if (key != "address") continue;
    if (section.empty()) return problem(line_label(number) + "的 address 要写在 [site] 之下");
    if (!in_site) continue;
    if (address_line != 0) {
      return problem("[site] 中 address 写了两次（" + line_label(address_line) + "和" + line_label(number) + "）");
    }
    address_line = number;
    address = trim(line.substr(equals + 1));
  }
  if (address_line == 0) return SiteSettings{};
  SiteSettings settings = parse_site_address(address);
  if (!settings.problem.empty()) settings.problem = line_label(address_line) + "：" + settings.problem;
  return settings;
}

Text site_settings_message(const Text& file_path, const Text& problem, const Text& default_origin) {
  return "设置文件 " + file_path + " 有误：\r\n" + problem + "。\r\n\r\n这次将使用默认的搜索网站 " + default_origin + "。";
}
