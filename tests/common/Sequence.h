// One recorder for everything a test watches happen in order: events fired, form calls,
// messages a window received. Expected sequences are typed entries, compared with what was recorded in the manner of
// Wine's comctl32 tests (msg.h): a mismatch prints both sequences side by side, marking where they part.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace seq {

enum Kind { Any, Event, Call, Change, Message };

struct Entry {
  Kind kind = Any;
  std::wstring what;
  Entry(const wchar_t* w) : what(w) {}
  Entry(std::wstring w) : what(std::move(w)) {}
  Entry(Kind k, std::wstring w) : kind(k), what(std::move(w)) {}
};
using Entries = std::vector<Entry>;

class Log {
public:
  explicit Log(Kind kind = Any) : m_kind(kind) {}
  void Add(std::wstring what) { m_entries.emplace_back(m_kind, std::move(what)); }
  void Add(Kind kind, std::wstring what) { m_entries.emplace_back(kind, std::move(what)); }
  // What was recorded, as text.
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> out;
    for (const auto& e : m_entries) out.push_back(e.what);
    return out;
  }
  std::vector<std::wstring> Take() {
    std::vector<std::wstring> out = Texts();
    m_entries.clear();
    return out;
  }
  const Entries& All() const { return m_entries; }
  // The entries of one kind only.
  Log Only(Kind kind) const {
    Log out(m_kind);
    for (const auto& e : m_entries)
      if (e.kind == kind) out.m_entries.push_back(e);
    return out;
  }
  bool empty() const { return m_entries.empty(); }
  size_t size() const { return m_entries.size(); }
  void clear() { m_entries.clear(); }

private:
  Kind m_kind;
  Entries m_entries;
};

inline std::string Narrow(const Entry& e) {
  static const char* const kinds[] = {"", "event ", "call ", "change ", "msg "};
  std::string s = kinds[e.kind];
  for (wchar_t c : e.what) s += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  return s;
}

inline bool Same(const Entry& want, const Entry& got) {
  return (want.kind == Any || got.kind == Any || want.kind == got.kind) && want.what == got.what;
}

// Compares the recorded entries with the expected ones.
inline ::testing::AssertionResult Matches(const Entries& got, const Entries& want) {
  size_t g = 0, w = 0;
  while (w < want.size() && g < got.size() && Same(want[w], got[g])) ++w, ++g;
  if (w == want.size() && g == got.size()) return ::testing::AssertionSuccess();
  auto out = ::testing::AssertionFailure();
  out << "sequences part at expected #" << w << ", recorded #" << g << "\n";
  for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    std::string l = i < want.size() ? Narrow(want[i]) : "-";
    out << (i == w || i == g ? "> " : "  ") << l << std::string(l.size() < 40 ? 40 - l.size() : 1, ' ')
        << (i < got.size() ? Narrow(got[i]) : "-") << "\n";
  }
  return out;
}

inline ::testing::AssertionResult Ok(const Log& log, const Entries& want) { return Matches(log.All(), want); }
// Expectations kept as plain text in a table (a template, so that a braced list means Entries).
template <class T>::testing::AssertionResult Ok(const Log& log, const std::vector<T>& want) {
  return Ok(log, Entries(want.begin(), want.end()));
}
// Checks and then forgets what the log holds, so that the next check starts afresh.
template <class W>::testing::AssertionResult Flush(Log& log, const W& want) {
  auto r = Ok(log, want);
  log.clear();
  return r;
}
inline ::testing::AssertionResult Flush(Log& log, const Entries& want) { return Flush<Entries>(log, want); }

} // namespace seq

#define EXPECT_SEQ(log, ...) EXPECT_TRUE(::seq::Ok(log, __VA_ARGS__))
#define EXPECT_SEQ_FLUSH(log, ...) EXPECT_TRUE(::seq::Flush(log, __VA_ARGS__))
