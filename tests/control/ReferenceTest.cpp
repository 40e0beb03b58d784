// The defaults docs/reference.md lists are what a fresh control reads. The reference is
// generated from the header's initializers (reference_current keeps it so), so this
// catches a default that the construction or the window changes behind the header.
#include "TestHost.h"

#include <fstream>
#include <iterator>
#include <sstream>

using namespace testhost;

namespace {

std::wstring Reference() {
  std::ifstream file(TAMVERO_SOURCE_DIR "/docs/reference.md", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                      &text[0], static_cast<int>(text.size()))));
  return text;
}

// The text between the first pair of backquotes.
std::wstring Quoted(const std::wstring& cell) {
  size_t a = cell.find(L'`'), b = cell.find(L'`', a + 1);
  return a == std::wstring::npos || b == std::wstring::npos ? cell : cell.substr(a + 1, b - a - 1);
}

} // namespace

class ReferenceDefaults : public ControlFixture {};

TEST_F(ReferenceDefaults, AreWhatAFreshControlReads) {
  const std::wstring doc = Reference();
  const size_t from = doc.find(L"\n## Properties\n"), to = doc.find(L"\n## ", from + 1);
  ASSERT_NE(from, std::wstring::npos);
  std::wistringstream section(doc.substr(from, to - from));
  int rows = 0;
  // Rows "| dispid | [`Name`](...) | type | `default` ... |"; the header and rule have no dispid.
  for (std::wstring line; std::getline(section, line);) {
    std::vector<std::wstring> cells;
    for (size_t p = 1, q; (q = line.find(L'|', p)) != std::wstring::npos; p = q + 1)
      cells.push_back(line.substr(p, q - p));
    if (line.empty() || line[0] != L'|' || cells.size() < 4 || !iswdigit(cells[0][1])) continue;
    std::wstring value = Quoted(cells[3]);
    if (value.size() >= 2 && value.front() == L'"') value = value.substr(1, value.size() - 2);
    EXPECT_EQ(Get(Quoted(cells[1]).c_str()), value) << Quoted(cells[1]);
    ++rows;
  }
  EXPECT_GE(rows, 20);
}
