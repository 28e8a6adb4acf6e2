#include "search/result_rows.h"

#include "search/batch_replace.h"
#include "search/magnet_link.h"

// The layout of the search site's result page: "\n" is a line feed, the
// colons after the field names are full-width as the site writes them.
const Text title_pattern =
    "\n</a></h3>\n<dl class=\"BotInfo\">\n<div class=\"item-list\">(.*)\n</div>\n<dt>";
const Text date_pattern = "创建日期：<span>(.*)</span>";
const Text size_pattern = "\n文件大小：<span>(.*B)</span>";
const Text popularity_pattern = "\n访问热度：<span>(\\d{1,100000})</span>";
const Text hash_pattern = "target=\"_blank\" href=\"/(.*).html\">";
const Text link_pattern = "<a href=\"(th.*)\" class=\"download\">迅雷链接</a>";
const std::array<const Text*, 6> field_patterns = {&title_pattern,      &date_pattern, &size_pattern,
                                                   &popularity_pattern, &hash_pattern, &link_pattern};

namespace {

enum FieldObject { kTitleObject, kDateObject, kSizeObject, kPopularityObject, kHashObject, kLinkObject };

const Text kHighlightOpen = "<span class=\"highlight\">";
const Text kHighlightClose = "</span>";

}  // namespace

Text make_hit_record(const Text& title, const Text& date, const Text& size, const Text& hash) {
  const Text link = magnet_link(hash);
  // Three lines: title, date and size; the magnet link under two labels.
  return "片名 " + title + "创建日期:" + date + "  " + "文件大小:" + size + "\r\n" +
         "磁力链接 " + link + "\r\n" +
         "迅雷链接 " + link + "\r\n";
}

ResultHit read_hit(const std::array<RegexObject, 6>& objects, int index) {
  const auto field = [&](FieldObject object) { return objects[object].submatch_text(index, 1); };
  ResultHit hit;
  // The site wraps the searched words in highlight markup; the words stay.
  hit.cells[kColTitle] = batch_replace(field(kTitleObject), std::nullopt, std::nullopt, std::nullopt, kHighlightOpen,
                                       Text(), kHighlightClose, Text());
  hit.cells[kColDate] = field(kDateObject);
  hit.cells[kColSize] = field(kSizeObject);
  hit.cells[kColPopularity] = field(kPopularityObject);
  hit.cells[kColHash] = field(kHashObject);
  hit.cells[kColLink] = field(kLinkObject);
  hit.record = make_hit_record(hit.cells[kColTitle], hit.cells[kColDate], hit.cells[kColSize], hit.cells[kColHash]);
  return hit;
}

void add_result_rows(const std::array<RegexObject, 6>& objects, ResultSink& sink) {
  // Fields are paired with titles by number only; the other objects' counts
  // are not consulted, a missing match reads as the empty text.
  const int hits = objects[kTitleObject].match_count();
  for (int i = 1; i <= hits; ++i) {
    sink.add_hit(read_hit(objects, i));
    sink.yield();
  }
}
