#include "RealInput.h"

#include <vector>

namespace realinput {

namespace {

const UINT kSettleMarker = WM_APP + 0x3A1;

INPUT KeyInput(WORD vk, WORD scan, bool extended, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
  return in;
}

bool Send(std::vector<INPUT>& inputs) {
  UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Settle();
  return sent == inputs.size();
}

WORD ScanOf(WORD vk) { return static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)); }

} // namespace

bool KeyByName(const std::wstring& name, Key& key) {
  static const struct {
    const wchar_t* name;
    Key key;
  } keys[] = {
      {L"Up", {VK_UP, 0x48, true}},
      {L"Down", {VK_DOWN, 0x50, true}},
      {L"Left", {VK_LEFT, 0x4B, true}},
      {L"Right", {VK_RIGHT, 0x4D, true}},
      {L"Home", {VK_HOME, 0x47, true}},
      {L"Delete", {VK_DELETE, 0x53, true}},
      {L"Insert", {VK_INSERT, 0x52, true}},
      {L"F4", {VK_F4, 0x3E, false}},
      {L"Escape", {VK_ESCAPE, 0x01, false}},
      {L"Enter", {VK_RETURN, 0x1C, false}},
      {L"Backspace", {VK_BACK, 0x0E, false}},
      // The numeric keypad's own keys: their scan codes tell them from the main keyboard's.
      {L"KeypadPlus", {VK_ADD, 0x4E, false}},
      {L"KeypadMinus", {VK_SUBTRACT, 0x4A, false}},
  };
  for (const auto& k : keys)
    if (_wcsicmp(k.name, name.c_str()) == 0) {
      key = k.key;
      return true;
    }
  return false;
}

void BringToFront(HWND top) {
  if (GetForegroundWindow() != top) SetForegroundWindow(top);
  SetActiveWindow(top);
  Settle();
}

bool PressKey(const Key& key, bool shift, bool control) {
  std::vector<INPUT> in;
  if (control) in.push_back(KeyInput(VK_CONTROL, ScanOf(VK_CONTROL), false, false));
  if (shift) in.push_back(KeyInput(VK_SHIFT, ScanOf(VK_SHIFT), false, false));
  in.push_back(KeyInput(key.Vk, key.Scan, key.Extended, false));
  in.push_back(KeyInput(key.Vk, key.Scan, key.Extended, true));
  if (shift) in.push_back(KeyInput(VK_SHIFT, ScanOf(VK_SHIFT), false, true));
  if (control) in.push_back(KeyInput(VK_CONTROL, ScanOf(VK_CONTROL), false, true));
  return Send(in);
}

bool TypeChar(wchar_t ch) {
  SHORT vks = VkKeyScanW(ch);
  if (vks != -1 && (HIBYTE(vks) & ~1) == 0) {
    WORD vk = LOBYTE(vks);
    return PressKey({vk, ScanOf(vk), false}, (HIBYTE(vks) & 1) != 0);
  }
  // No key on this layout (Hangul on a US layout, for one): Unicode input.
  std::vector<INPUT> in(2);
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = ch;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
  }
  return Send(in);
}

bool ClickAt(POINT screen) { return PressAt(screen, true) && PressAt(screen, false); }

bool PressAt(POINT screen, bool down) {
  // Absolute coordinates run 0..65535 over the whole virtual desktop.
  int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  std::vector<INPUT> in(2);
  for (auto& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(screen.x - vx, 65535, vw - 1);
  in[0].mi.dy = MulDiv(screen.y - vy, 65535, vh - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  in[1].mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  return Send(in);
}

void Settle() {
  // SendInput queues the input at once, but queued input is retrieved after posted
  // messages: drain everything, and call it settled when a few rounds in a row found
  // nothing but their own marker (timers do not count: the caret's never stop).
  int quietRounds = 0;
  for (int round = 0; round < 200 && quietRounds < 3; ++round) {
    PostThreadMessageW(GetCurrentThreadId(), kSettleMarker, 0, 0);
    bool markerBack = false, worked = false;
    MSG msg;
    for (;;) {
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (markerBack) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        continue;
      }
      if (msg.hwnd == nullptr && msg.message == kSettleMarker) {
        markerBack = true;
        continue;
      }
      if (msg.message != WM_TIMER) worked = true;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    quietRounds = worked ? 0 : quietRounds + 1;
    if (!worked) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

} // namespace realinput
