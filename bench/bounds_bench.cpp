// Prints time and peak memory of the cases that used to escape the engine's
// bounds: many capture groups and many matches (memory), loops that clear
// groups or repeat without end (time), one hostile line in a result page (a
// lost column), and a 50 MB page from body to rows (memory). Each case runs
// in a child process of its own, so its peak memory is its own.
// Run: build/bench/bounds_bench [case number...]
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/sample_result_page.h"
#include "regex/regex_object.h"
#include "search/page_decoding.h"
#include "search/result_rows.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

std::string repeat(const std::string& piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// Resident memory now, in MB.
double resident_mb() {
#ifndef _WIN32
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
#else
  return 0;
#endif
}

double peak_mb() {
#ifndef _WIN32
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
#else
  return 0;
#endif
}

class CountingSink : public ResultSink {
public:
  void add_hit(ResultHit hit) override {
    ++rows;
    if (!hit.cells[kColDate].empty()) ++dated;
  }
  void yield() override {}
  int rows = 0;
  int dated = 0;
};

// One RegexObject over `subject`: prints matches, time and memory above
// what the process held before the subject was made.
void object_case(const char* name, const std::string& pattern, const std::function<std::string()>& make_subject) {
  const double base = resident_mb();
  const std::string subject = make_subject();
  RegexObject object;
  const auto start = Clock::now();
  object.create(pattern, subject, true, true, true);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::printf("%-44s %9d matches %9.0f ms  peak %7.0f MB over start (subject %.0f MB)\n", name,
              object.match_count(), ms, peak_mb() - base, subject.size() / 1048576.0);
}

// What the worker does with a fetched page: decode it, drop the body, six
// objects over the decoded text (as a plain text, which each object's
// store copies, or shared), every row read.
void page_case(const char* name, const std::function<std::string()>& make_body, bool shared = false) {
  const double base = resident_mb();
  std::string body = make_body();
  const double body_mb = body.size() / 1048576.0;
  const auto start = Clock::now();
  const auto page = std::make_shared<const Text>(decode_page_text(body, true));
  std::string().swap(body);
  std::array<RegexObject, 6> objects;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (shared) {
      objects[i].create(*field_patterns[i], page);
    } else {
      objects[i].create(*field_patterns[i], *page);
    }
  }
  CountingSink sink;
  add_result_rows(objects, sink);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const double peak = peak_mb() - base;
  std::printf("%-44s %6d rows (%d dated) %7.0f ms  peak %7.0f MB over start = %.1f x body (%.0f MB)\n", name,
              sink.rows, sink.dated, ms, peak, peak / body_mb, body_mb);
}

// ~106 KB of openers on one line without their closing tag, then ten hits.
std::string hostile_line_page() {
  std::string page = sample_result_page(0);
  const std::string hits = sample_result_page(10);
  const std::string opener = u8"创建日期：<span>";
  page.insert(page.find(u8"<div class=\"search-list\">"), "<p>" + repeat(opener, 106 * 1024 / opener.size()) + "</p>\n");
  page.insert(page.rfind(u8"</div>\n</body>"), hits.substr(hits.find(u8"<div class=\"search-item\">"),
                                                             hits.rfind(u8"</div>\n</body>") -
                                                                 hits.find(u8"<div class=\"search-item\">")));
  return page;
}

// A page of about `mb` MB in the site's layout.
std::string big_page(size_t mb) {
  const size_t one_hit = sample_result_page(1).size() - sample_result_page(0).size();
  return sample_result_page(static_cast<int>(mb * 1048576 / one_hit));
}

const std::vector<std::pair<const char*, std::function<void()>>>& cases() {
  static const std::vector<std::pair<const char*, std::function<void()>>> all = {
      {"1a (?:b()x3000)? over 200 000 a", [] {
         object_case("1a (?:b + 3000 x () + )? over 200 000 a", "(?:b" + repeat("()", 3000) + ")?",
                     [] { return std::string(200000, 'a'); });
       }},
      {"1b (x)? over 25 Mi a", [] {
         object_case("1b (x)? over 25 Mi a", "(x)?", [] { return std::string(25u << 20, 'a'); });
       }},
      {"2a (?:a|()x20000)*b over 1 Mi a", [] {
         object_case("2a (?:a| + 20 000 x () + )*b over 1 Mi a", "(?:a|" + repeat("()", 20000) + ")*b",
                     [] { return std::string(1u << 20, 'a'); });
       }},
      {"2b (a){0,2147483647}b over 1 Mi a", [] {
         object_case("2b (a){0,2147483647}b over 1 Mi a", "(a){0,2147483647}b",
                     [] { return std::string(1u << 20, 'a'); });
       }},
      {"3 hostile line, then ten hits", [] { page_case("3 106 KB line of openers, then ten hits", hostile_line_page); }},
      {"4 50 MB page, body to rows", [] { page_case("4 50 MB page, body to rows", [] { return big_page(50); }); }},
      {"4s the same, page passed shared", [] {
         page_case("4s the same, the page passed shared", [] { return big_page(50); }, true);
       }},
  };
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> chosen;
  for (int i = 1; i < argc; ++i) chosen.push_back(static_cast<size_t>(std::atoi(argv[i])));
  if (chosen.empty()) {
    for (size_t i = 0; i < cases().size(); ++i) chosen.push_back(i);
  }
  std::printf("time: the create (case 3 and 4: decode + six creates + rows); peak: resident memory\n");
  for (size_t index : chosen) {
    if (index >= cases().size()) continue;
    std::fflush(stdout);
#ifndef _WIN32
    const pid_t child = fork();
    if (child == 0) {
      cases()[index].second();
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
#else
    cases()[index].second();
#endif
  }
  return 0;
}
