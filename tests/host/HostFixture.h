// What the demo's tests share: the control library loaded as the demo loads it, a demo
// form on screen, and scripts run on the form.
#pragma once

#include "Form.h"
#include "ScriptMode.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Lines = std::vector<std::wstring>;

// A JScript text, the exit code it ends with and what it echoes; '*' in an expected echo
// stands for any text.
struct ScriptCase {
  std::wstring script;
  int exit;
  Lines out;
};

// True when line is pattern, each '*' of the pattern standing for any text.
bool LineMatches(const std::wstring& line, const std::wstring& pattern);

class HostTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Makes a control or fails the test.
  FormControl* Make(const wchar_t* name, int x, int y, const wchar_t* props = L"");
  // Runs a script on the form; what it echoes in out, one entry an echo.
  int Script(const wchar_t* language, const std::wstring& text, Lines& out);
  // Runs each case on an emptied form and checks its exit code and output.
  void ExpectScripts(const std::vector<ScriptCase>& cases);

  ControlLibrary Library;
  std::unique_ptr<DemoForm> Form;
};

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  std::wstring Path;
};

// The whole of a file's bytes (empty when it cannot be read).
inline std::vector<BYTE> ReadBytes(const std::wstring& path) {
  std::vector<BYTE> bytes;
  return ReadWholeFile(path, 1 << 26, bytes) == FileRead::Done ? bytes : std::vector<BYTE>();
}
