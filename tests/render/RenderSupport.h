// What the painting and pointer tests share: the theme library's drawing log, a fresh
// control per table row, and a paint that records its drawing calls.
#pragma once

#include "HandleCount.h"
#include "TestHost.h"
#include "Lumadex.h"
#include "Tondril.h"

#include <string>
#include <vector>

namespace rendertest {

inline std::vector<std::wstring>& DrawLog() {
  static std::vector<std::wstring> log;
  return log;
}

inline void RecordDrawCall(const wchar_t* line) { DrawLog().push_back(line); }

// GDI objects of this process.
inline DWORD GdiCount() { return handlecount::GdiObjects(); }

class RenderFixture : public testhost::ControlFixture {
protected:
  void SetUp() override {
    // The pointer rests away from every control, so that only the test's own moves count.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    ControlFixture::SetUp();
    TondrilSetDrawLog(&RecordDrawCall);
  }
  void TearDown() override {
    TondrilSetDrawLog(nullptr);
    TondrilSetImageMissing(1370, FALSE);
    TondrilSetImageMissing(2205, FALSE);
    CColorMgr::getInstance()->SetColorTheme(1);
    JTLink_SetLoginInfo(L"CONN_MED", L"");
    ControlFixture::TearDown();
  }

  // Replaces the fixture's control by a new one, not yet created.
  void Fresh() {
    if (Ctl) Ctl->ExternalRelease();
    Ctl = AllocRunDllControl();
    ASSERT_NE(Ctl, nullptr);
    Connect();
  }

  // The drawing calls of one complete paint of the control's window.
  std::vector<std::wstring> PaintOnce() {
    UpdateWindow(Ctl->m_hWnd);
    DrawLog().clear();
    RedrawWindow(Ctl->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<std::wstring> out;
    out.swap(DrawLog());
    return out;
  }

  void SendMouse(UINT msg, int x, int y, WPARAM keys = 0) { SendMessageW(Ctl->m_hWnd, msg, keys, MAKELPARAM(x, y)); }
};

inline std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

// The edit's rectangle in the control's client coordinates.
inline CRect EditRectInControl(CCalendarCtl* ctl) {
  RECT r = {};
  GetWindowRect(ctl->Edit.m_hWnd, &r);
  MapWindowPoints(nullptr, ctl->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  return CRect(r);
}

} // namespace rendertest
