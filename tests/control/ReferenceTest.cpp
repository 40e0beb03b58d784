// docs/reference.md against the built control: every member of the type library that
// Tamvero.dll carries, with its dispid and arguments; every row of the format tables; what
// each style does; and every property's default as a fresh control reads it.
#include "Formats.h"
#include "TestHost.h"

#include <fstream>
#include <iterator>
#include <map>

namespace {
using namespace testhost;

std::wstring Reference() {
  std::ifstream file(TAMVERO_SOURCE_DIR "/docs/reference.md", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                      &text[0], static_cast<int>(text.size()))));
  return text;
}

std::wstring Trim(std::wstring s) {
  while (!s.empty() && s.front() == L' ') s.erase(s.begin());
  while (!s.empty() && s.back() == L' ') s.pop_back();
  return s;
}

// The cells of the table rows in the section headed "## title", header and rule left out.
std::vector<std::vector<std::wstring>> Rows(const std::wstring& doc, const std::wstring& title) {
  std::vector<std::vector<std::wstring>> rows;
  size_t at = doc.find(L"\n## " + title + L"\n");
  if (at == std::wstring::npos) return rows;
  size_t end = doc.find(L"\n## ", at + 1);
  std::wstring section = doc.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
  bool inTable = false;
  for (size_t line = 0, next; line < section.size(); line = next + 1) {
    next = section.find(L'\n', line);
    if (next == std::wstring::npos) next = section.size();
    std::wstring text = section.substr(line, next - line);
    const bool header = !inTable;
    inTable = !text.empty() && text[0] == L'|';
    if (!inTable || header || text.rfind(L"|---", 0) == 0) continue;
    std::vector<std::wstring> cells;
    for (size_t p = 1, q; (q = text.find(L'|', p)) != std::wstring::npos; p = q + 1)
      cells.push_back(Trim(text.substr(p, q - p)));
    rows.push_back(cells);
  }
  return rows;
}

// The text between the first pair of backquotes.
std::wstring Quoted(const std::wstring& cell) {
  size_t a = cell.find(L'`'), b = cell.find(L'`', a + 1);
  return a == std::wstring::npos || b == std::wstring::npos ? cell : cell.substr(a + 1, b - a - 1);
}

// dispid -> name (methods with their argument names) of one interface, by invoke kind.
std::map<long, std::wstring> Members(ITypeInfo* info, INVOKEKIND kind, bool withArgs) {
  std::map<long, std::wstring> out;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return out;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    if (f->invkind == kind && !(f->wFuncFlags & FUNCFLAG_FRESTRICTED) && f->memid < 0x60000000) {
      BSTR names[16] = {};
      UINT count = 0;
      info->GetNames(f->memid, names, 16, &count);
      std::wstring text = names[0];
      if (withArgs) {
        // Parameter names follow the member's; a [retval] result is not an argument.
        text += L"(";
        const UINT args = static_cast<UINT>(f->cParams);
        for (UINT a = 1; a < count && a <= args; ++a) {
          if (f->lprgelemdescParam[a - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) continue;
          text += (a > 1 ? L", " : L"") + std::wstring(names[a]);
        }
        text += L")";
      }
      for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
      out[f->memid] = text;
    }
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(attr);
  return out;
}

TEST(Reference, ListsEveryMemberOfTheTypeLibraryWithItsDispid) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(L"Tamvero.dll"), path, MAX_PATH), 0u);
  CComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLibEx(path, REGKIND_NONE, &lib), S_OK);
  CComPtr<ITypeInfo> control, events;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(IID_ICalendarCtl, &control), S_OK);
  ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID_ICalendarCtlEvents, &events), S_OK);
  const std::wstring doc = Reference();
  const struct {
    const wchar_t* section;
    std::map<long, std::wstring> members;
  } cases[] = {
      {L"Properties", Members(control, INVOKE_PROPERTYGET, false)},
      {L"Methods", Members(control, INVOKE_FUNC, true)},
      {L"Events", Members(events, INVOKE_FUNC, false)},
  };
  for (const auto& c : cases) {
    std::map<long, std::wstring> listed;
    for (const auto& row : Rows(doc, c.section)) listed[std::stol(row.at(0))] = Quoted(row.at(1));
    EXPECT_FALSE(c.members.empty()) << c.section;
    EXPECT_EQ(listed, c.members) << c.section;
  }
}

TEST(Reference, FormatTablesAreTheControls) {
  const std::wstring doc = Reference();
  const struct {
    const wchar_t* section;
    int count;
    const tamvero::FormatEntry* (*entry)(int);
  } cases[] = {{L"Date formats", tamvero::kDateFormatCount, tamvero::DateFormatEntry},
               {L"Time formats", tamvero::kTimeFormatCount, tamvero::TimeFormatEntry}};
  for (const auto& c : cases) {
    auto rows = Rows(doc, c.section);
    ASSERT_EQ(static_cast<int>(rows.size()), c.count) << c.section;
    for (int code = 0; code < c.count; ++code) {
      const auto& row = rows[static_cast<size_t>(code)];
      const tamvero::FormatEntry* e = c.entry(code);
      EXPECT_EQ(row.at(0), std::to_wstring(code)) << c.section;
      EXPECT_EQ(Quoted(row.at(1)), e->Mask) << c.section << " " << code;
      EXPECT_EQ(row.at(2), e->ValueForm) << c.section << " " << code;
      EXPECT_EQ(row.at(3), std::to_wstring(e->DigitCount)) << c.section << " " << code;
    }
  }
}

TEST(Reference, StyleTableSaysWhatEachStyleDoes) {
  auto rows = Rows(Reference(), L"Styles");
  ASSERT_EQ(static_cast<int>(rows.size()), tamvero::kStyleCount);
  for (int style = 0; style < tamvero::kStyleCount; ++style) {
    const auto& row = rows[static_cast<size_t>(style)];
    EXPECT_EQ(row.at(0), std::to_wstring(style));
    EXPECT_EQ(row.at(1), tamvero::IsTimeStyle(style) ? L"time" : L"date") << style;
    const std::wstring button = tamvero::HasDropDownButton(style) ? L"drop-down arrow"
                                : tamvero::HasSpinButton(style)   ? L"spin button"
                                                                  : L"none";
    EXPECT_EQ(row.at(2).rfind(button, 0), 0u) << style << ": " << row.at(2);
  }
}

class ReferenceDefaults : public ControlFixture {};

TEST_F(ReferenceDefaults, AreWhatAFreshControlReads) {
  auto rows = Rows(Reference(), L"Properties");
  ASSERT_FALSE(rows.empty());
  for (const auto& row : rows) {
    std::wstring value = Quoted(row.at(3));
    if (value.size() >= 2 && value.front() == L'"') value = value.substr(1, value.size() - 2);
    EXPECT_EQ(Get(Quoted(row.at(1)).c_str()), value) << Quoted(row.at(1));
  }
}

} // namespace
