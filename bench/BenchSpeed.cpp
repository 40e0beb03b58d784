// The control beside the platform: creation with its first paint against the platform's
// date-time picker and against the floor (a bare child window holding one EDIT), a typed
// digit against a plain EDIT and the picker, what an idle control holds, and the DLL sizes.
//
// `bench_speed --type KIND N` only types N digits of one kind (see TypeOnly) and
// `--make KIND N` only makes N windows (see MakeOnly), so that scripts/count-requests can
// count the Wine server requests of a keystroke and of a window.
#include "Bench.h"

#include "CalendarCtl.h"
#include "Clock.h"
#include "HandleCount.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

const int kBatch = 100;  // controls alive at once, in a grid on the form
const int kBatches = 10; // so 1,000 per round
const int kCellW = 124, kCellH = 26;

HWND g_form = nullptr;

// ---- the contenders of creation -----------------------------------------------------------

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterBare() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = BareProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"BenchBare";
  RegisterClassW(&wc);
}

RECT Cell(int i) {
  const int x = (i % 10) * kCellW, y = (i / 10) * kCellH;
  return RECT{x, y, x + 120, y + 22};
}

CCalendarCtl* g_ctls[kBatch];

HWND MakeControl(int i, int style) {
  CCalendarCtl* c = AllocRunDllControl();
  c->Style = static_cast<short>(style);
  c->SetRunMode(TRUE);
  const RECT r = Cell(i);
  c->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(r), g_form, 100 + i);
  g_ctls[i] = c;
  return c->m_hWnd;
}

HWND MakePicker(int i, int style) {
  const RECT r = Cell(i);
  return CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | (style ? DTS_TIMEFORMAT : 0), r.left,
                         r.top, r.right - r.left, r.bottom - r.top, g_form, reinterpret_cast<HMENU>(INT_PTR(100 + i)),
                         nullptr, nullptr);
}

HWND MakeFloor(int i, int) {
  const RECT r = Cell(i);
  HWND bare = CreateWindowExW(0, L"BenchBare", L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, g_form, reinterpret_cast<HMENU>(INT_PTR(100 + i)), nullptr, nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 2, 2, r.right - r.left - 4,
                  r.bottom - r.top - 4, bare, reinterpret_cast<HMENU>(INT_PTR(1000)), nullptr, nullptr);
  return bare;
}

// The floor holding what the control shows: its value, in its field's font, all selected.
// What this costs above the bare floor is the platform drawing and measuring a value.
HFONT g_fieldFont = nullptr;
HWND MakeFloorValue(int i, int) {
  HWND bare = MakeFloor(i, 0);
  HWND edit = GetDlgItem(bare, 1000);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_fieldFont), FALSE);
  SetWindowTextW(edit, L"2024/03/15");
  SendMessageW(edit, EM_SETSEL, 0, -1);
  return bare;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct Split {
  double make = 0, destroy = 0;
};

// 1,000 windows of one kind: returns the seconds spent making and painting, and destroying.
Split Thousand(HWND (*make)(int, int), int style, bool control) {
  Split s;
  HWND made[kBatch];
  for (int b = 0; b < kBatches; ++b) {
    double t0 = bench::Seconds();
    for (int i = 0; i < kBatch; ++i) {
      made[i] = make(i, style);
      UpdateWindow(made[i]);
    }
    double t1 = bench::Seconds();
    for (int i = 0; i < kBatch; ++i) {
      if (control)
        g_ctls[i]->ExternalRelease();
      else
        DestroyWindow(made[i]);
    }
    double t2 = bench::Seconds();
    s.make += t1 - t0;
    s.destroy += t2 - t1;
    Pump();
  }
  return s;
}

struct Contender {
  std::string name;
  HWND (*make)(int, int);
  int style;
  bool control;
  std::vector<double> whole, painted; // per window: everything, and make + paint alone
};

void Creation() {
  std::vector<Contender> all;
  for (int style = 0; style < 6; ++style)
    all.push_back({"Tamvero style " + std::to_string(style), MakeControl, style, true, {}, {}});
  all.push_back({"picker (date)", MakePicker, 0, false, {}, {}});
  all.push_back({"picker (time)", MakePicker, 1, false, {}, {}});
  all.push_back({"floor: child + EDIT", MakeFloor, 0, false, {}, {}});
  all.push_back({"floor + value, font", MakeFloorValue, 0, false, {}, {}});
  // Warm-up: Wine keeps DCs for the first windows it paints and every class loads once.
  for (Contender& c : all) Thousand(c.make, c.style, c.control);
  const int rounds = 5;
  for (int r = 0; r < rounds; ++r) {
    // Alternate the order so that no contender always follows the same one.
    for (size_t k = 0; k < all.size(); ++k) {
      Contender& c = all[r % 2 ? all.size() - 1 - k : k];
      Split s = Thousand(c.make, c.style, c.control);
      c.whole.push_back((s.make + s.destroy) / (kBatch * kBatches));
      c.painted.push_back(s.make / (kBatch * kBatches));
    }
  }
  const Contender& picker = all[6];
  const Contender& bareEdit = all[8];
  std::printf("\ncreate + show + first paint (+ destroy), per window, %d per round, %d rounds\n", kBatch * kBatches,
              rounds);
  std::printf("%-22s %12s %12s %10s %10s %12s %12s %10s\n", "", "whole med", "whole min", "/picker", "/floor",
              "paint med", "paint min", "/floor");
  for (const Contender& c : all) {
    const bench::Stats w = bench::Of(c.whole), m = bench::Of(c.painted);
    const bench::Stats pw = bench::Of(picker.whole), fw = bench::Of(bareEdit.whole), fm = bench::Of(bareEdit.painted);
    std::printf("%-22s %9.1f us %9.1f us %9.2fx %9.2fx %9.1f us %9.1f us %9.2fx\n", c.name.c_str(), w.median * 1e6,
                w.min * 1e6, w.median / pw.median, w.median / fw.median, m.median * 1e6, m.min * 1e6,
                m.median / fm.median);
  }
  std::fflush(stdout);
}

// ---- typing ------------------------------------------------------------------------------------

struct Typist {
  const char* name;
  HWND field;   // where the character goes
  HWND painted; // what UpdateWindow paints after it
};

const wchar_t kDigits[] = L"20240105";

// One digit; every eighth starts over with everything selected, as a clerk retyping a date.
void TypeOne(const Typist& t, int& k, bool paint) {
  if (k % 8 == 0) SendMessageW(t.field, EM_SETSEL, 0, -1);
  SendMessageW(t.field, WM_CHAR, kDigits[k++ % 8], 1);
  if (paint) UpdateWindow(t.painted);
}

// The picker takes digits only into a selected field: a click on its first one selects
// it (and focuses the picker, which the unfocused rounds then undo).
void SelectPickerField(HWND picker, bool focused) {
  SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 10));
  SendMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(6, 10));
  if (!focused) SetFocus(g_form);
}

// Every digit goes into the selected field, which moves on when it is complete.
void TypePicker(const Typist& t, int& k, bool paint) {
  SendMessageW(t.field, WM_CHAR, kDigits[k++ % 8], 1);
  if (paint) UpdateWindow(t.painted);
}

struct Typing {
  CCalendarCtl* ctl;
  Typist masked, plain, picker;
};

Typing MakeTypists() {
  Typing t;
  t.ctl = AllocRunDllControl();
  t.ctl->SetRunMode(TRUE);
  t.ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 300, 150, 322), g_form, 90);
  HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 330, 140, 22, g_form,
                               nullptr, nullptr, nullptr);
  HWND picker = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 360, 140, 22, g_form, nullptr,
                                nullptr, nullptr);
  t.masked = {"Tamvero", t.ctl->Edit.m_hWnd, t.ctl->m_hWnd};
  t.plain = {"plain EDIT", plain, plain};
  t.picker = {"picker", picker, picker};
  UpdateWindow(g_form);
  return t;
}

void TypingBench() {
  Typing t = MakeTypists();
  std::printf("\none typed digit (SendMessage WM_CHAR), per key\n");
  std::printf("%-30s %12s %12s %12s %12s %12s %12s %9s %9s\n", "", "Tamvero med", "Tamvero min", "EDIT med", "EDIT min",
              "picker med", "picker min", "/EDIT", "/picker");
  for (int focused = 1; focused >= 0; --focused) {
    for (int paint = 0; paint < 2; ++paint) {
      int k = 0;
      const Typist* who[3] = {&t.masked, &t.plain, &t.picker};
      std::vector<double> times[3];
      const int keys = 400, rounds = 7;
      for (int r = -1; r < rounds; ++r) { // round -1 warms up
        for (int w = 0; w < 3; ++w) {
          const Typist& ty = *who[(r & 1) ? 2 - w : w];
          SetFocus(focused ? ty.field : g_form);
          if (&ty == &t.picker) SelectPickerField(ty.field, focused);
          Pump();
          double t0 = bench::Seconds();
          for (int i = 0; i < keys; ++i) (&ty == &t.picker ? TypePicker : TypeOne)(ty, k, paint != 0);
          double dt = (bench::Seconds() - t0) / keys;
          if (r >= 0) times[(r & 1) ? 2 - w : w].push_back(dt);
        }
      }
      const bench::Stats m = bench::Of(times[0]), e = bench::Of(times[1]), p = bench::Of(times[2]);
      char what[64];
      std::snprintf(what, sizeof what, "%s, %s", focused ? "focused" : "unfocused",
                    paint ? "with its paint" : "without paint");
      std::printf("%-30s %9.1f us %9.1f us %9.1f us %9.1f us %9.1f us %9.1f us %8.2fx %8.2fx\n", what, m.median * 1e6,
                  m.min * 1e6, e.median * 1e6, e.min * 1e6, p.median * 1e6, p.min * 1e6, m.median / e.median,
                  m.median / p.median);
      std::fflush(stdout);
    }
  }
  SetFocus(g_form);
  t.ctl->ExternalRelease();
  DestroyWindow(t.plain.field);
  DestroyWindow(t.picker.field);
}

// ---- what an idle window holds ------------------------------------------------------------------

void Holdings() {
  std::printf("\nper idle window (100 made, shown and painted; counted after a warm-up)\n");
  std::printf("%-22s %10s %14s\n", "", "windows", "GDI objects");
  struct Row {
    const char* name;
    HWND (*make)(int, int);
    int style;
    bool control;
  } rows[] = {{"Tamvero date", MakeControl, 0, true},
              {"Tamvero spin date", MakeControl, 2, true},
              {"Tamvero time", MakeControl, 1, true},
              {"picker", MakePicker, 0, false},
              {"floor: child + EDIT", MakeFloor, 0, false}};
  for (const Row& r : rows) {
    Thousand(r.make, r.style, r.control);
    Pump();
    const DWORD user0 = handlecount::UserObjects(), gdi0 = handlecount::GdiObjects();
    HWND made[kBatch];
    for (int i = 0; i < kBatch; ++i) {
      made[i] = r.make(i, r.style);
      UpdateWindow(made[i]);
    }
    Pump();
    const double user = (static_cast<double>(handlecount::UserObjects()) - user0) / kBatch;
    const double gdi = (static_cast<double>(handlecount::GdiObjects()) - gdi0) / kBatch;
    std::printf("%-22s %10.2f %14.2f\n", r.name, user, gdi);
    for (int i = 0; i < kBatch; ++i) r.control ? (void)g_ctls[i]->ExternalRelease() : (void)DestroyWindow(made[i]);
    Pump();
  }
}

// ---- sizes of what ships ------------------------------------------------------------------------

void Sizes() {
  std::printf("\nDLL sizes (as built beside the benchmark)\n");
  const wchar_t* names[] = {L"Tamvero.dll",        L"TamFx.dll",          L"Valmira.dll",     L"Gresko.dll",
                            L"Tondril.dll",        L"Lumadex.dll",        L"libstdc++-6.dll", L"libgcc_s_seh-1.dll",
                            L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"};
  LONGLONG ours = 0;
  for (const wchar_t* n : names) {
    HMODULE m = GetModuleHandleW(n);
    if (!m) continue;
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(m, path, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &fa)) continue;
    const LONGLONG size = (static_cast<LONGLONG>(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
    if (std::wcsncmp(n, L"lib", 3) != 0) ours += size;
    std::printf("%-22ls %10.1f KB\n", n, size / 1024.0);
  }
  std::printf("%-22s %10.1f KB\n", "Tamvero + support DLLs", ours / 1024.0);
}

// ---- server request counting --------------------------------------------------------------------

// Types n digits of one kind and nothing else, for counting the server requests per key.
int TypeOnly(const char* kind, int n) {
  Typing t = MakeTypists();
  const bool focused = std::strstr(kind, "unfocused") == nullptr;
  const bool paint = std::strstr(kind, "paint") != nullptr;
  const Typist& ty = std::strncmp(kind, "edit", 4) == 0     ? t.plain
                     : std::strncmp(kind, "picker", 6) == 0 ? t.picker
                                                            : t.masked;
  SetFocus(focused ? ty.field : g_form);
  if (&ty == &t.picker) SelectPickerField(ty.field, focused);
  Pump();
  int k = 0;
  for (int i = 0; i < 16; ++i) (&ty == &t.picker ? TypePicker : TypeOne)(ty, k, paint); // past the first keys' caches
  Pump();
  for (int i = 0; i < n; ++i) (&ty == &t.picker ? TypePicker : TypeOne)(ty, k, paint);
  return 0;
}

// Makes, shows, paints and destroys n windows of one kind ("tamvero0" to "tamvero5",
// "picker", "floor", "floor-value"), after one warm-up batch, for counting server requests per window.
int MakeOnly(const char* kind, int n) {
  HWND(*make)
  (int, int) = std::strncmp(kind, "picker", 6) == 0    ? MakePicker
               : std::strcmp(kind, "floor-value") == 0 ? MakeFloorValue
               : std::strncmp(kind, "floor", 5) == 0   ? MakeFloor
                                                       : MakeControl;
  const bool control = make == MakeControl;
  const int style = control ? std::atoi(kind + 7) : 0;
  for (int pass = 0; pass < 2; ++pass) {
    const int count = pass == 0 ? kBatch : n;
    for (int i = 0; i < count; ++i) {
      HWND w = make(i % kBatch, style);
      UpdateWindow(w);
      control ? (void)g_ctls[i % kBatch]->ExternalRelease() : (void)DestroyWindow(w);
    }
    Pump();
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  TamveroPinClock(L"20240315120000");
  RegisterBare();
  g_form = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           10 * kCellW + 20, 10 * kCellH + 160, nullptr, nullptr, nullptr, nullptr);
  Pump();
  {
    // The field's font, borrowed from the font manager as every control borrows it.
    MakeControl(0, 0);
    g_fieldFont = reinterpret_cast<HFONT>(SendMessageW(g_ctls[0]->Edit.m_hWnd, WM_GETFONT, 0, 0));
    g_ctls[0]->ExternalRelease();
  }
  int rc = 0;
  if (argc == 4 && std::strcmp(argv[1], "--type") == 0) {
    rc = TypeOnly(argv[2], std::atoi(argv[3]));
  } else if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {
    rc = MakeOnly(argv[2], std::atoi(argv[3]));
  } else {
    Sizes();
    Holdings();
    TypingBench();
    Creation();
  }
  DestroyWindow(g_form);
  TamveroPinClock(nullptr);
  OleUninitialize();
  return rc;
}
