#include "DefaultForm.h"

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

// The labels show Korean masks: a face with Hangul when the system has one.
int CALLBACK TakeFace(const LOGFONTW *lf, const TEXTMETRICW *, DWORD, LPARAM lParam) {
  *reinterpret_cast<LOGFONTW *>(lParam) = *lf;
  return 0;
}

struct LabelFont {
  HFONT font = nullptr;
  LabelFont() {
    LOGFONTW want = {}, found = {};
    want.lfCharSet = HANGUL_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &want, TakeFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    if (!found.lfFaceName[0]) return;
    LOGFONTW lf = {};
    lf.lfHeight = -12;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, found.lfFaceName);
    font = CreateFontIndirectW(&lf);
  }
  ~LabelFont() {
    if (font) DeleteObject(font);
  }
  HFONT Get() const { return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
};

} // namespace

const DefaultControl *DefaultControls(size_t &count) {
  count = sizeof kControls / sizeof kControls[0];
  return kControls;
}

bool BuildDefaultForm(DemoForm &form, std::wstring &error) {
  const int rowHeight = 34, top = 14, labelLeft = 14, labelWidth = 250, controlLeft = 280, controlWidth = 170;
  // Lives as long as the process: the labels use it until the form goes.
  static LabelFont labels;
  HFONT font = labels.Get();
  int row = 0;
  for (const DefaultControl &d : kControls) {
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
