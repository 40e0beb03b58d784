#include "EditSupport.h"

namespace edittest {

std::wstring TextOf(const CCalendarEdit& edit) { return edit.GetWindowText().str(); }

std::pair<int, int> SelOf(const CCalendarEdit& edit) {
  int s = -1, e = -1;
  edit.GetSel(s, e);
  return {s, e};
}

std::vector<int> TypesOf(const CCalendarEdit& edit) {
  std::vector<int> out;
  for (int i = 0; i < edit.RecordCount(); ++i) out.push_back(edit.RecordAt(i)->Type);
  return out;
}

std::wstring CharsOf(const CCalendarEdit& edit) {
  std::wstring out;
  for (int i = 0; i < edit.RecordCount(); ++i) out += edit.RecordAt(i)->Char;
  return out;
}

static bool OpenClipboardRetrying(HWND owner) {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool PutClipboardText(HWND owner, const std::wstring& text) {
  if (!OpenClipboardRetrying(owner)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (mem) {
    memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    if (!ok) GlobalFree(mem);
  }
  CloseClipboard();
  return ok;
}

std::wstring ClipboardText(HWND owner) {
  if (!OpenClipboardRetrying(owner)) return L"<clipboard busy>";
  std::wstring out;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    out = static_cast<const wchar_t*>(GlobalLock(mem));
    GlobalUnlock(mem);
  }
  CloseClipboard();
  return out;
}

namespace {
class TestFrame : public CWnd {};
ControlMessageLog* g_activeLog = nullptr;

std::wstring Hex(UINT v) {
  wchar_t buf[16];
  swprintf(buf, 16, L"%04X", v);
  return buf;
}
} // namespace

void StandaloneEdit::SetUp() {
  Frame = new TestFrame;
  ASSERT_TRUE(Frame->CreateEx(0, L"edit tests", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 440, 200), nullptr, 0));
  Edit = new CCalendarEdit;
  ASSERT_TRUE(Edit->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 300, 34), Frame, 1000));
}

void StandaloneEdit::TearDown() {
  delete Edit;
  Edit = nullptr;
  if (Frame) Frame->DestroyWindow();
  delete Frame;
  Frame = nullptr;
  testhost::Pump();
}

void ControlMessageLog::Attach(HWND control, HWND edit) {
  m_control = control;
  m_edit = edit;
  g_activeLog = this;
  m_prev = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

void ControlMessageLog::Detach() {
  if (!m_control) return;
  if (IsWindow(m_control)) SetWindowLongPtrW(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prev));
  m_control = nullptr;
  if (g_activeLog == this) g_activeLog = nullptr;
}

std::vector<std::wstring> ControlMessageLog::Take() {
  std::vector<std::wstring> out;
  out.swap(Entries);
  return out;
}

LRESULT CALLBACK ControlMessageLog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ControlMessageLog* self = g_activeLog;
  if (!self || hwnd != self->m_control) return DefWindowProcW(hwnd, msg, wParam, lParam);
  WNDPROC prev = self->m_prev;
  switch (msg) {
  case WM_COMMAND:
    if (reinterpret_cast<HWND>(lParam) == self->m_edit) {
      switch (HIWORD(wParam)) {
      case EN_UPDATE:
        self->Entries.push_back(L"EN_UPDATE");
        break;
      case EN_CHANGE:
        self->Entries.push_back(L"EN_CHANGE");
        break;
      case EN_SETFOCUS:
        self->Entries.push_back(L"EN_SETFOCUS");
        break;
      case EN_KILLFOCUS:
        self->Entries.push_back(L"EN_KILLFOCUS");
        break;
      default:
        self->Entries.push_back(L"EN_" + Hex(HIWORD(wParam)));
        break;
      }
    }
    break;
  case WM_CALENDAR_EVENT:
    self->Entries.push_back(L"0465 " + std::to_wstring(static_cast<int>(wParam)));
    if (self->AnswerAllCustom) return 1;
    break;
  case WM_CALENDAR_CAPTION:
    self->Entries.push_back(L"0466 " + std::wstring(reinterpret_cast<const wchar_t*>(wParam)));
    if (self->AnswerCaption || self->AnswerAllCustom) return 1;
    break;
  case WM_CALENDAR_SHOW:
  case WM_CALENDAR_HIDE:
    self->Entries.push_back(Hex(msg));
    if (self->AnswerDropDownAndStep || self->AnswerAllCustom) return 0;
    break;
  case WM_PREV_NEXT_DATE:
    self->Entries.push_back(L"2728 " + std::to_wstring(static_cast<long long>(wParam)) + L" " +
                            std::to_wstring(static_cast<long long>(lParam)));
    if (self->AnswerDropDownAndStep || self->AnswerAllCustom) return 0;
    break;
  default:
    break;
  }
  return CallWindowProcW(prev, hwnd, msg, wParam, lParam);
}

void EditControlFixture::TearDown() {
  Log.Detach();
  testhost::ControlFixture::TearDown();
}

void EditControlFixture::CreateWithMask(const wchar_t* mask, int fullLength) {
  Create();
  ASSERT_NE(Ctl->Edit.m_hWnd, nullptr);
  Log.Attach(Ctl->m_hWnd, Ctl->Edit.m_hWnd);
  Ctl->Edit.SetMask(mask);
  Ctl->Edit.FullLength = fullLength;
  ClearRecords();
}

void EditControlFixture::ShowValue(const wchar_t* text) {
  SetWindowTextW(Ctl->Edit.m_hWnd, text);
  ClearRecords();
}

void EditControlFixture::ClearRecords() {
  Log.Take();
  Rec.Events.clear();
  Form->TakeCalls();
  Ctl->Edit.InvalidInputCount = 0;
}

void EditControlFixture::SendChar(WCHAR ch, UINT scan) { SendMessageW(Ctl->Edit.m_hWnd, WM_CHAR, ch, KeyFlags(scan)); }

void EditControlFixture::SendKey(UINT vk) {
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYDOWN, vk, KeyFlags(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)));
  SendMessageW(Ctl->Edit.m_hWnd, WM_KEYUP, vk,
               KeyFlags(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) | static_cast<LPARAM>(0xC0000000UL));
}

std::vector<std::wstring> EditControlFixture::TakeControlCodes() {
  std::vector<std::wstring> out;
  for (auto& e : Log.Take())
    if (e.compare(0, 3, L"EN_") != 0 && e.compare(0, 4, L"0466") != 0) out.push_back(e);
  return out;
}

} // namespace edittest
