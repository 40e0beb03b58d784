#include "DefaultForm.h"

#include "Gresko.h"

namespace {

const DefaultControl kControls[] = {
    {L"date1", L"Style=0;DateFormat=2", L"drop-down date  ####/##/##"},
    {L"date2", L"Style=0;DateFormat=3", L"drop-down date  ####\uB144##\uC6D4##\uC77C"},
    {L"spin1", L"Style=2;DateFormat=1", L"spin date  ####-##-##"},
    {L"spin2", L"Style=2;DateFormat=7", L"spin date  ##\uB144##\uC6D4##\uC77C"},
    {L"plain1", L"Style=3;DateFormat=0", L"plain date  ####.##.##"},
    {L"plain2", L"Style=3;DateFormat=11", L"plain year and month  ####\uB144##\uC6D4"},
    {L"plain3", L"Style=3;DateFormat=19", L"plain month and day  ##\uC6D4##\uC77C"},
    {L"time1", L"Style=1;TimeFormat=0", L"time  ##:##:##"},
    {L"time2", L"Style=1;TimeFormat=2", L"time  ##\uC2DC##\uBD84##\uCD08"},
    {L"spint1", L"Style=4;TimeFormat=3", L"spin time  ##:##"},
    {L"spint2", L"Style=4;TimeFormat=5", L"spin time  ##\uC2DC##\uBD84"},
    {L"hour27", L"Style=5;TimeFormat=0", L"27-hour time  ##:##:##"},
    {L"hour27k", L"Style=5;TimeFormat=8", L"27-hour time  ##\uBD84##\uCD08"},
};

} // namespace

const DefaultControl* DefaultControls(size_t& count) {
  count = sizeof kControls / sizeof kControls[0];
  return kControls;
}

bool BuildDefaultForm(DemoForm& form, std::wstring& error) {
  const int rowHeight = 34, top = 14, labelLeft = 14, labelWidth = 250, controlLeft = 280, controlWidth = 170;
  // Lives as long as the process: the labels use it until the form goes.
  // The labels show Korean masks too: the runtime's own font manager picks a face for them.
  CGDIMng* fonts = GetGDIMng();
  CFont* label = fonts ? fonts->GetFont(1, 1.0f, FALSE) : nullptr;
  HFONT font = label ? static_cast<HFONT>(*label) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  int row = 0;
  for (const DefaultControl& d : kControls) {
    int y = top + row++ * rowHeight;
    HWND label = CreateWindowExW(0, L"STATIC", (std::wstring(d.Name) + L":  " + d.Label).c_str(),
                                 WS_CHILD | WS_VISIBLE | SS_LEFT, labelLeft, y + 4, labelWidth, 18, form.Window(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT rect = {controlLeft, y, controlLeft + controlWidth, y + 24};
    if (!form.Create(d.Name, rect, d.Props, {}, error)) return false;
  }
  return true;
}
