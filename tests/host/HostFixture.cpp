#include "HostFixture.h"

#include "RealInput.h"

#include <sstream>

void HostTest::SetUp() {
  ASSERT_TRUE(Library.Load()) << std::string(Library.Error.begin(), Library.Error.end());
  Form = new DemoForm(Library);
  ASSERT_TRUE(Form->Open(L"demo test"));
}

void HostTest::TearDown() {
  delete Form;
  Form = nullptr;
  realinput::Settle();
}

FormControl* HostTest::Make(const wchar_t* name, int x, int y, const wchar_t* props) {
  std::wstring error;
  RECT rect = {x, y, x + 150, y + 24};
  FormControl* c = Form->Create(name, rect, props, {}, error);
  EXPECT_NE(c, nullptr) << std::string(error.begin(), error.end());
  return c;
}

int HostTest::Script(const wchar_t* language, const std::wstring& text, std::vector<std::wstring>& out) {
  out.clear();
  return RunScriptText(*Form, language, text, [&out](const std::wstring& line) {
    // Echo of a multi-line text counts line by line; an empty text is one empty line.
    size_t start = 0;
    for (size_t nl = line.find(L'\n'); nl != std::wstring::npos; nl = line.find(L'\n', start = nl + 1))
      out.push_back(line.substr(start, nl - start));
    out.push_back(line.substr(start));
  });
}

std::vector<std::wstring> HostTest::LogLines(const std::wstring& prefix) {
  std::vector<std::wstring> out;
  for (auto& l : Form->Log().Lines())
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  return out;
}

std::wstring TempFolder::ScriptPath() const {
  std::wstring path = Path + L"/";
  for (auto& ch : path)
    if (ch == L'\\') ch = L'/';
  return path;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int serial = 0;
  Path =
      std::wstring(base) + L"tamvero-host-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
  CreateDirectoryW(Path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((Path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((Path + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(Path.c_str());
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
  std::vector<BYTE> bytes = ReadBytes(path);
  int n = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                              nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), &text[0],
                      n);
  std::vector<std::wstring> lines;
  std::wstringstream s(text);
  std::wstring l;
  while (std::getline(s, l)) lines.push_back(l);
  return lines;
}
