// A host without fonts: the font manager is missing when the control library loads, so
// this program loads the library itself after taking the fonts away.
#include "CalendarCtl.h"
#include "Gresko.h"

#include <gtest/gtest.h>

namespace {

HMODULE g_library = nullptr;
CCalendarCtl* (*g_alloc)() = nullptr;

class NoFontManager : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    GreskoSetNullFontManager(TRUE);
    g_library = LoadLibraryW(L"Tamvero.dll");
    g_alloc =
        reinterpret_cast<CCalendarCtl* (*)()>(reinterpret_cast<void*>(GetProcAddress(g_library, "AllocRunDllControl")));
  }
  static void TearDownTestSuite() {
    GreskoSetNullFontManager(FALSE);
    if (g_library) FreeLibrary(g_library);
  }
  void SetUp() override {
    ASSERT_NE(g_alloc, nullptr);
    ASSERT_TRUE(parent.CreateSystem(L"STATIC", 0, L"", WS_POPUP | WS_VISIBLE, RECT{20, 20, 320, 220}, nullptr, 0));
    ctl = g_alloc();
    ASSERT_NE(ctl, nullptr);
  }
  void TearDown() override {
    if (ctl) ctl->ExternalRelease();
  }
  HRESULT PutFontIndex(long value) {
    IDispatch* disp = ctl->GetPrimaryDispatch();
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"FontIndex");
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    CVariant v(value);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp = {&v, &put, 1, 1};
    return disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr, nullptr);
  }
  CWnd parent;
  CCalendarCtl* ctl = nullptr;
};

TEST_F(NoFontManager, FieldKeepsItsFontAndTheTextHeightStaysTwelve) {
  ASSERT_TRUE(ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 150, 32), parent, 100));
  HWND edit = ctl->Edit.m_hWnd;
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(ctl->TextHeight, 12);
  EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), 0) << "nobody gave the field a font";

  ASSERT_EQ(PutFontIndex(5), S_OK);
  EXPECT_EQ(ctl->TextHeight, 12);
  EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), 0);
  // The drop-down opens without a font of its own as well.
  EXPECT_EQ(SendMessageW(ctl->m_hWnd, WM_CALENDAR_SHOW, 0, 0), 1);
  EXPECT_EQ(SendMessageW(ctl->m_hWnd, WM_CALENDAR_HIDE, 0, 0), 1);
}

} // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
