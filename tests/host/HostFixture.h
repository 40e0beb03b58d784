// What the demo's tests share: the control library loaded as the demo loads it, a demo
// form on screen, and automation by name on a control.
#pragma once

#include "Dispatch.h"
#include "Form.h"
#include "Sequence.h"
#include "ScriptMode.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class HostTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Makes a control or fails the test.
  FormControl* Make(const wchar_t* name, int x, int y, const wchar_t* props = L"");
  // Runs a script on the form; its output lines in out.
  int Script(const wchar_t* language, const std::wstring& text, std::vector<std::wstring>& out);
  // Lines of the event log that start with prefix, in order.
  std::vector<std::wstring> LogLines(const std::wstring& prefix);

  static HRESULT Put(IDispatch* disp, const wchar_t* name, const wchar_t* value) {
    return testhost::PutProp(disp, name, testhost::VStr(value));
  }
  static std::wstring Get(IDispatch* disp, const wchar_t* name) { return testhost::GetProp(disp, name); }
  static HRESULT Call(IDispatch* disp, const wchar_t* name, const wchar_t* arg) {
    return testhost::CallMethod(disp, name, {testhost::VStr(arg)});
  }

  ControlLibrary Library;
  DemoForm* Form = nullptr;
};

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  std::wstring Path;
  // The folder as a script writes it: forward slashes (no escaping), ending in one.
  std::wstring ScriptPath() const;
};

// The whole of a file's bytes (empty when it cannot be read).
inline std::vector<BYTE> ReadBytes(const std::wstring& path) {
  std::vector<BYTE> bytes;
  return ReadWholeFile(path, 1 << 26, bytes) == FileRead::Done ? bytes : std::vector<BYTE>();
}
// Lines of a UTF-8 text file.
std::vector<std::wstring> ReadLines(const std::wstring& path);
