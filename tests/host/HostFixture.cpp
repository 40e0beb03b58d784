#include "HostFixture.h"

#include "RealInput.h"

#include <algorithm>
#include <filesystem>

bool LineMatches(const std::wstring& line, const std::wstring& pattern) {
  size_t star = pattern.find(L'*');
  if (star == std::wstring::npos) return line == pattern;
  if (line.compare(0, star, pattern, 0, star) != 0) return false;
  // The rest after the star: at the first place it matches, or a later one.
  for (size_t at = star; at <= line.size(); ++at)
    if (LineMatches(line.substr(at), pattern.substr(star + 1))) return true;
  return false;
}

void HostTest::SetUp() {
  ASSERT_TRUE(Library.Load()) << Library.Error;
  Form = std::make_unique<DemoForm>(Library);
  ASSERT_TRUE(Form->Open(L"demo test"));
}

void HostTest::TearDown() {
  Form.reset();
  realinput::Settle();
}

FormControl* HostTest::Make(const wchar_t* name, int x, int y, const wchar_t* props) {
  std::wstring error;
  RECT rect = {x, y, x + 150, y + 24};
  FormControl* c = Form->Create(name, rect, props, {}, error);
  EXPECT_NE(c, nullptr) << error;
  return c;
}

int HostTest::Script(const wchar_t* language, const std::wstring& text, Lines& out) {
  out.clear();
  return RunScriptText(*Form, language, text, [&out](const std::wstring& line) { out.push_back(line); });
}

void HostTest::ExpectScripts(const std::vector<ScriptCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Form->RemoveAll();
    Lines out;
    EXPECT_EQ(Script(L"JScript", c.script, out), c.exit);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), c.out.begin(), c.out.end(), LineMatches))
        << testing::PrintToString(out) << " is not " << testing::PrintToString(c.out);
  }
  Form->RemoveAll();
}

TempFolder::TempFolder() {
  static int serial = 0;
  Path = (std::filesystem::temp_directory_path() /
          ("tamvero-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial)))
             .wstring();
  std::filesystem::create_directory(Path);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Path, ignored);
}
