// What the control costs beside the platform's own: typing into the masked field against
// a plain EDIT, a property read through the type library against the C++ member, and the
// two representations of day arithmetic.
#include "Bench.h"

#include "CalendarCtl.h"
#include "Clock.h"
#include "DateMath.h"

int main() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  TamveroPinClock(L"20240315120000");

  HWND form = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                              nullptr, nullptr, nullptr);
  CCalendarCtl* ctl = AllocRunDllControl();
  ctl->SetRunMode(TRUE);
  ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 150, 32), form, 100);
  HWND plain =
      CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 40, 140, 22, form, nullptr, nullptr, nullptr);

  const wchar_t digits[] = L"20240105";
  int k = 0;
  bench::Compare(
      "typing one digit", "masked field",
      [&] {
        if (k % 8 == 0) SendMessageW(ctl->Edit.m_hWnd, EM_SETSEL, 0, -1);
        SendMessageW(ctl->Edit.m_hWnd, WM_CHAR, digits[k++ % 8], 1);
      },
      "plain EDIT",
      [&] {
        if (k % 8 == 0) SendMessageW(plain, EM_SETSEL, 0, -1);
        SendMessageW(plain, WM_CHAR, digits[k++ % 8], 1);
      },
      4000);

  IDispatch* disp = ctl->GetPrimaryDispatch();
  bench::Compare(
      "reading DateFormat", "IDispatch::Invoke",
      [&] {
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT v;
        VariantInit(&v);
        disp->Invoke(7, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr);
      },
      "C++ member",
      [&] {
        volatile short f = ctl->DateFormat;
        (void)f;
      },
      20000);

  CString value = L"20240105";
  bench::Compare(
      "one day forward", "automation date", [&] { tamvero::GetComputedDate(value, 1, 1, 1); }, "64-bit seconds",
      [&] {
        CString out;
        tamvero::GetBaseComputedDate(value, value, 1, 1, 1, out);
      },
      20000);

  ctl->ExternalRelease();
  DestroyWindow(form);
  TamveroPinClock(nullptr);
  OleUninitialize();
  return 0;
}
