#include "tests/support/result_page.h"

// Plain literals are compiled into code page 936 in this project: every
// Chinese text of the layout is a u8 literal.

namespace {

// The parts are written with LF; a CRLF page gets CR LF here.
std::string line_ends(std::string text, const PageOptions& options) {
  if (!options.crlf) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string result_page_head(const PageOptions& options) {
  return line_ends(u8"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + options.page_title +
                       u8"</title>\n</head>\n<body>\n<div class=\"search-list\">\n",
                   options);
}

std::string result_page_hit(const PageHit& hit, const PageOptions& options) {
  std::string out = u8"<div class=\"search-item\">\n<div class=\"item-title\">\n<h3><a target=\"_blank\" href=\"/" +
                    hit.hash + u8".html\">\n" + hit.title_html + u8"\n</a></h3>\n<dl class=\"BotInfo\">\n" +
                    u8"<div class=\"item-list\">" + hit.title_html + u8"\n</div>\n" +
                    u8"<dt>创建日期：<span>" + hit.date + u8"</span>\n" +
                    u8"文件大小：<span>" + hit.size + u8"</span>\n";
  if (hit.popularity) out += u8"访问热度：<span>" + *hit.popularity + u8"</span>\n";
  out += u8"</dt>\n<dd><a href=\"" + hit.link + u8"\" class=\"download\">迅雷链接</a></dd>\n</dl>\n";
  for (const std::string& line : options.filler_lines) out += line + "\n";
  out += "</div>\n</div>\n";
  return line_ends(std::move(out), options);
}

std::string result_page_tail(const PageOptions& options) {
  return line_ends("</div>\n</body>\n</html>\n", options);
}

std::string result_page(const std::vector<PageHit>& hits, const PageOptions& options) {
  std::string page = result_page_head(options);
  for (const PageHit& hit : hits) page += result_page_hit(hit, options);
  return page + result_page_tail(options);
}
