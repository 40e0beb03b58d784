#include "FormDriver.h"

#include <oleacc.h>

#include "RealInput.h"
#include "fxgdi.h"
#include "fxhandle.h"

FormControl* FormDriver::Need(const std::wstring& name) {
  FormControl* c = m_form.Find(name);
  if (!c) Error = L"no control named '" + name + L"'";
  return c;
}

HWND FormDriver::NeedField(FormControl* c) {
  HWND field = DemoForm::FieldOf(*c);
  if (!field) Error = c->Name + L" has no field";
  return field;
}

bool FormDriver::FocusField(FormControl* c, bool orDropDown) {
  HWND field = NeedField(c);
  if (!field) return false;
  std::wstring name = c->Name;
  realinput::BringToFront(m_form.Window());
  // Each pump of messages may run handlers that remove the control or replace the form.
  if (!(c = m_form.Find(name)) || !(field = DemoForm::FieldOf(*c))) {
    Error = L"the control " + name + L" went away";
    return false;
  }
  HWND focus = GetFocus();
  HWND dropDown = m_form.DropDownOf(*c);
  if (focus == field || (orDropDown && dropDown && (focus == dropDown || IsChild(dropDown, focus)))) return true;
  // As the form gives a control the focus: the control passes it on to its field.
  ::SetFocus(c->Hwnd());
  if (GetFocus() != field) ::SetFocus(field);
  realinput::Settle();
  // The focus events' handlers may have removed the control or replaced the form.
  c = m_form.Find(name);
  if (!c || GetFocus() != DemoForm::FieldOf(*c)) {
    Error = L"the field of " + name + L" does not take the focus";
    return false;
  }
  return true;
}

bool FormDriver::Type(const std::wstring& name, const std::wstring& text) {
  FormControl* c = Need(name);
  if (!c || !FocusField(c, false)) return false;
  for (wchar_t ch : text) {
    if (!realinput::TypeChar(ch)) {
      Error = L"typing was refused";
      return false;
    }
    // A handler removed the control: the rest has no field to go to.
    if (!m_form.Find(name)) break;
  }
  return true;
}

bool FormDriver::Key(const std::wstring& name, const std::wstring& keyName) {
  realinput::Key key;
  if (!realinput::KeyByName(keyName, key)) {
    Error = L"unknown key '" + keyName + L"'";
    return false;
  }
  FormControl* c = Need(name);
  if (!c || !FocusField(c, true)) return false;
  if (!realinput::PressKey(key)) {
    Error = L"the key was refused";
    return false;
  }
  return true;
}

bool FormDriver::Click(const std::wstring& name, const std::wstring& part) {
  FormControl* c = Need(name);
  if (!c) return false;
  RECT rc;
  GetWindowRect(c->Hwnd(), &rc);
  // The button strip is the control's right edge, 18 pixels at 96 DPI; spin buttons split it in two.
  CClientDC screen(nullptr);
  const int strip = MulDiv(18, GetDeviceCaps(screen, LOGPIXELSX), 96);
  POINT at = {rc.right - strip / 2 - 1, (rc.top + rc.bottom) / 2};
  if (_wcsicmp(part.c_str(), L"field") == 0) {
    HWND field = NeedField(c);
    if (!field) return false;
    RECT f;
    GetWindowRect(field, &f);
    at = {f.left + 4, (f.top + f.bottom) / 2};
  } else if (_wcsicmp(part.c_str(), L"spinup") == 0) {
    at.y = rc.top + (rc.bottom - rc.top) / 4;
  } else if (_wcsicmp(part.c_str(), L"spindown") == 0) {
    at.y = rc.bottom - 1 - (rc.bottom - rc.top) / 4;
  } else if (_wcsicmp(part.c_str(), L"arrow") != 0) {
    Error = L"unknown part '" + part + L"' (field, arrow, spinup or spindown)";
    return false;
  }
  realinput::BringToFront(m_form.Window());
  if (!realinput::ClickAt(at)) {
    Error = L"the click was refused";
    return false;
  }
  return true;
}

bool FindCalendarDay(HWND calendar, WORD year, WORD month, WORD day, POINT& screen) {
  RECT rc;
  GetClientRect(calendar, &rc);
  for (int y = rc.top + 1; y < rc.bottom; y += 3)
    for (int x = rc.left + 1; x < rc.right; x += 3) {
      MCHITTESTINFO hit = {};
      hit.cbSize = sizeof hit;
      hit.pt = {x, y};
      SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == year && hit.st.wMonth == month && hit.st.wDay == day) {
        // Aim a little inside the cell rather than at its edge.
        screen = {x + 4, y + 3};
        ClientToScreen(calendar, &screen);
        return true;
      }
    }
  return false;
}

bool FormDriver::ClickDay(const std::wstring& name, const std::wstring& yyyymmdd) {
  FormControl* c = Need(name);
  if (!c) return false;
  if (yyyymmdd.size() != 8 || yyyymmdd.find_first_not_of(L"0123456789") != std::wstring::npos) {
    Error = L"ClickDay wants a day as YYYYMMDD, not '" + yyyymmdd + L"'";
    return false;
  }
  HWND calendar = m_form.DropDownOf(*c);
  if (!calendar) {
    Error = L"the drop-down of " + name + L" is not open";
    return false;
  }
  WORD year = static_cast<WORD>(_wtoi(yyyymmdd.substr(0, 4).c_str()));
  WORD month = static_cast<WORD>(_wtoi(yyyymmdd.substr(4, 2).c_str()));
  WORD day = static_cast<WORD>(_wtoi(yyyymmdd.substr(6, 2).c_str()));
  POINT at;
  if (!FindCalendarDay(calendar, year, month, day, at)) {
    Error = L"the drop-down of " + name + L" does not show " + yyyymmdd;
    return false;
  }
  if (!realinput::ClickAt(at)) {
    Error = L"the click was refused";
    return false;
  }
  return true;
}

bool FormDriver::ClickOutside() {
  HWND form = m_form.Window();
  RECT rc;
  GetClientRect(form, &rc);
  // An empty spot of the form: no control, label or log under it.
  for (int y = rc.bottom - 8; y > 0; y -= 8)
    for (int x = 8; x < DemoForm::kFormWidth - 8; x += 8) {
      POINT pt = {x, y};
      if (ChildWindowFromPointEx(form, pt, CWP_SKIPINVISIBLE) != form) continue;
      ClientToScreen(form, &pt);
      realinput::BringToFront(form);
      if (WindowFromPoint(pt) != form) continue;
      if (!realinput::ClickAt(pt)) {
        Error = L"the click was refused";
        return false;
      }
      return true;
    }
  Error = L"the form has no empty spot";
  return false;
}

bool FormDriver::Paste(const std::wstring& name, const std::wstring& text) {
  FormControl* c = Need(name);
  if (!c) return false;
  bool placed = false;
  {
    CClipboardScope clipboard(m_form.Window());
    if (!clipboard) {
      Error = L"the clipboard is busy";
      return false;
    }
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    CGlobalHandle mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (void* p = mem ? GlobalLock(mem.Get()) : nullptr) {
      memcpy(p, text.c_str(), bytes);
      GlobalUnlock(mem.Get());
      // The clipboard owns the memory once it took it.
      placed = SetClipboardData(CF_UNICODETEXT, mem.Get()) != nullptr;
      if (placed) mem.Detach();
    }
  }
  if (!placed) {
    Error = L"the clipboard took no text";
    return false;
  }
  if (!FocusField(c, false)) return false;
  // The form's Edit > Paste: WM_PASTE to the focused field. Control+V would never get
  // there, since the field drops control characters before the EDIT sees them.
  SendMessageW(GetFocus(), WM_PASTE, 0, 0);
  return true;
}

bool FormDriver::FieldText(const std::wstring& name, std::wstring& text) {
  FormControl* c = Need(name);
  HWND field = c ? NeedField(c) : nullptr;
  if (!field) return false;
  int n = GetWindowTextLengthW(field);
  text.assign(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(field, &text[0], n + 1)));
  return true;
}

bool FormDriver::Selection(const std::wstring& name, std::wstring& selection) {
  FormControl* c = Need(name);
  HWND field = c ? NeedField(c) : nullptr;
  if (!field) return false;
  DWORD start = 0, end = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  selection = std::to_wstring(start) + L"," + std::to_wstring(end);
  return true;
}

bool FormDriver::Accessible(const std::wstring& name, std::wstring& said) {
  FormControl* c = Need(name);
  if (!c) return false;
  CComPtr<IAccessible> acc;
  // mingw's import library turns IID_IAccessible into a code stub: the header's uuid.
  if (FAILED(AccessibleObjectFromWindow(c->Hwnd(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&acc))) ||
      !acc) {
    Error = L"Accessible: the control '" + name + L"' answers no screen reader";
    return false;
  }
  CVariant self(static_cast<long>(CHILDID_SELF)), role, state;
  CBstr accName, value;
  if (FAILED(acc->get_accRole(self, &role)) || FAILED(acc->get_accState(self, &state)) ||
      FAILED(acc->get_accName(self, &accName)) || FAILED(acc->get_accValue(self, &value))) {
    Error = L"Accessible: the control '" + name + L"' failed a reader's question";
    return false;
  }
  wchar_t word[64] = {};
  GetRoleTextW(static_cast<DWORD>(role.lVal), word, 64);
  said = std::wstring(word) + L"|" + accName.c_str() + L"|" + value.c_str() + L"|";
  std::wstring states;
  for (DWORD bit = 1; bit && bit <= STATE_SYSTEM_HASPOPUP; bit <<= 1) {
    if (!(static_cast<DWORD>(state.lVal) & bit) || !GetStateTextW(bit, word, 64)) continue;
    states += (states.empty() ? L"" : L", ") + std::wstring(word);
  }
  said += states;
  return true;
}

bool FormDriver::CalendarOpen(const std::wstring& name, bool& open) {
  FormControl* c = Need(name);
  if (!c) return false;
  open = m_form.DropDownOf(*c) != nullptr;
  return true;
}
