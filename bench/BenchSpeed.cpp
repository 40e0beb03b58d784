// The control beside the platform, each way of doing a piece of work timed against the
// others in alternating rounds: creation with its first paint against the platform's
// date-time picker and against the floor (a bare child window holding one EDIT), a typed
// digit against a plain EDIT and the picker, a property read through IDispatch against the
// C++ member, day arithmetic on automation dates against 64-bit seconds; then what an idle
// control holds and the DLL sizes.
//
// `bench_speed --type KIND N` only types N digits of one kind (see TypeOnly) and
// `--make KIND N` only makes N windows (see MakeOnly), so that scripts/count-requests can
// count the Wine server requests of a keystroke and of a window.
#include "CalendarCtl.h"
#include "Clock.h"
#include "DateMath.h"
#include "HandleCount.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

double Seconds() {
  static const double tick = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1.0 / static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * tick;
}

struct Stats {
  double median = 0, min = 0;
};

Stats Of(std::vector<double> t) {
  if (t.empty()) return {};
  std::sort(t.begin(), t.end());
  return {t[t.size() / 2], t.front()};
}

// Runs each of n contenders once a round, the order reversed every other round so that
// none always follows the same one; round -1 warms up (every class loads once, Wine keeps
// DCs for the first windows it paints) and run is told not to keep it.
void Alternate(size_t n, int rounds, const std::function<void(size_t k, bool keep)>& run) {
  for (int r = -1; r < rounds; ++r)
    for (size_t i = 0; i < n; ++i) run(r & 1 ? n - 1 - i : i, r >= 0);
}

// One row: each contender's median and minimum, then the first one's median over each other's.
void PrintRow(const char* what, const std::vector<std::vector<double>>& times, double scale, const char* unit) {
  std::printf("%-30s", what);
  for (const auto& t : times) std::printf(" %9.1f %s %9.1f %s", Of(t).median * scale, unit, Of(t).min * scale, unit);
  for (size_t i = 1; i < times.size(); ++i) std::printf(" %8.2fx", Of(times[0]).median / Of(times[i]).median);
  std::printf("\n");
  std::fflush(stdout);
}

const int kBatch = 100;  // controls alive at once, in a grid on the form
const int kBatches = 10; // so 1,000 per round
const int kCellW = 124, kCellH = 26;

HWND g_form = nullptr;

// ---- the contenders of creation -----------------------------------------------------------

void RegisterBare() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"BenchBare";
  RegisterClassW(&wc);
}

RECT Cell(int i) {
  const int x = (i % 10) * kCellW, y = (i / 10) * kCellH;
  return RECT{x, y, x + 120, y + 22};
}

CCalendarCtl* g_ctls[kBatch]; // the controls of the cells, to be released rather than destroyed

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

void Pump() { FxPumpMessages(); }

void Unmake(int i, HWND made) {
  if (CCalendarCtl* c = g_ctls[i]) {
    g_ctls[i] = nullptr;
    c->ExternalRelease();
  } else {
    DestroyWindow(made);
  }
}

struct Split {
  double make = 0, destroy = 0;
};

// 1,000 windows of one kind: returns the seconds spent making and painting, and destroying.
Split Thousand(HWND (*make)(int, int), int style) {
  Split s;
  HWND made[kBatch];
  for (int b = 0; b < kBatches; ++b) {
    double t0 = Seconds();
    for (int i = 0; i < kBatch; ++i) {
      made[i] = make(i, style);
      UpdateWindow(made[i]);
    }
    double t1 = Seconds();
    for (int i = 0; i < kBatch; ++i) Unmake(i, made[i]);
    double t2 = Seconds();
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
  std::vector<double> whole, painted; // per window: everything, and make + paint alone
};

void Creation() {
  std::vector<Contender> all;
  for (int style = 0; style < 6; ++style)
    all.push_back({"Tamvero style " + std::to_string(style), MakeControl, style, {}, {}});
  all.push_back({"picker (date)", MakePicker, 0, {}, {}});
  all.push_back({"picker (time)", MakePicker, 1, {}, {}});
  all.push_back({"floor: child + EDIT", MakeFloor, 0, {}, {}});
  all.push_back({"floor + value, font", MakeFloorValue, 0, {}, {}});
  const int rounds = 5;
  Alternate(all.size(), rounds, [&](size_t k, bool keep) {
    Contender& c = all[k];
    const Split s = Thousand(c.make, c.style);
    if (!keep) return;
    c.whole.push_back((s.make + s.destroy) / (kBatch * kBatches));
    c.painted.push_back(s.make / (kBatch * kBatches));
  });
  const Contender& picker = all[6];
  const Contender& bareEdit = all[8];
  std::printf("\ncreate + show + first paint (+ destroy), per window, %d per round, %d rounds\n", kBatch * kBatches,
              rounds);
  std::printf("%-22s %12s %12s %10s %10s %12s %12s %10s\n", "", "whole med", "whole min", "/picker", "/floor",
              "paint med", "paint min", "/floor");
  for (const Contender& c : all) {
    const Stats w = Of(c.whole), m = Of(c.painted);
    const Stats pw = Of(picker.whole), fw = Of(bareEdit.whole), fm = Of(bareEdit.painted);
    std::printf("%-22s %9.1f us %9.1f us %9.2fx %9.2fx %9.1f us %9.1f us %9.2fx\n", c.name.c_str(), w.median * 1e6,
                w.min * 1e6, w.median / pw.median, w.median / fw.median, m.median * 1e6, m.min * 1e6,
                m.median / fm.median);
  }
  std::fflush(stdout);
}

// ---- typing ------------------------------------------------------------------------------------

struct Typist {
  HWND field;   // where the character goes
  HWND painted; // what UpdateWindow paints after it
  bool picker;  // takes digits into its selected field, which moves on when complete
};

const wchar_t kDigits[] = L"20240105";

// One digit; every eighth starts over with everything selected, as a clerk retyping a date.
void TypeOne(const Typist& t, int& k, bool paint) {
  if (k % 8 == 0 && !t.picker) SendMessageW(t.field, EM_SETSEL, 0, -1);
  SendMessageW(t.field, WM_CHAR, kDigits[k++ % 8], 1);
  if (paint) UpdateWindow(t.painted);
}

// Focuses the field, or the form for the unfocused rounds. The picker takes digits only
// into a selected field: a click on its first one selects it (and focuses the picker).
void Ready(const Typist& t, bool focused) {
  SetFocus(focused ? t.field : g_form);
  if (t.picker) {
    SendMessageW(t.field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 10));
    SendMessageW(t.field, WM_LBUTTONUP, 0, MAKELPARAM(6, 10));
    if (!focused) SetFocus(g_form);
  }
  Pump();
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
  t.masked = {t.ctl->Edit.m_hWnd, t.ctl->m_hWnd, false};
  t.plain = {plain, plain, false};
  t.picker = {picker, picker, true};
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
      std::vector<std::vector<double>> times(3);
      Alternate(3, 7, [&](size_t w, bool keep) {
        const Typist& ty = *who[w];
        Ready(ty, focused != 0);
        const int keys = 400;
        const double t0 = Seconds();
        for (int i = 0; i < keys; ++i) TypeOne(ty, k, paint != 0);
        if (keep) times[w].push_back((Seconds() - t0) / keys);
      });
      char what[64];
      std::snprintf(what, sizeof what, "%s, %s", focused ? "focused" : "unfocused",
                    paint ? "with its paint" : "without paint");
      PrintRow(what, times, 1e6, "us");
    }
  }
  SetFocus(g_form);
  t.ctl->ExternalRelease();
  DestroyWindow(t.plain.field);
  DestroyWindow(t.picker.field);
}

// ---- a property read and day arithmetic --------------------------------------------------------

// Two ways of one small piece of work, n calls a round.
void Pair(const char* what, const std::function<void()>& first, const std::function<void()>& second, int n) {
  const std::function<void()>* ways[2] = {&first, &second};
  std::vector<std::vector<double>> times(2);
  Alternate(2, 7, [&](size_t k, bool keep) {
    const double t0 = Seconds();
    for (int i = 0; i < n; ++i) (*ways[k])();
    if (keep) times[k].push_back((Seconds() - t0) / n);
  });
  PrintRow(what, times, 1e9, "ns");
}

void SmallWork() {
  std::printf("\nthe first way against the second, per call\n");
  std::printf("%-30s %12s %12s %12s %12s %9s\n", "", "first med", "first min", "second med", "second min", "ratio");
  CCalendarCtl* ctl = AllocRunDllControl();
  IDispatch* disp = ctl->GetPrimaryDispatch();
  Pair(
      "DateFormat: Invoke / member",
      [&] {
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT v;
        VariantInit(&v);
        disp->Invoke(PROP_DateFormat, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr);
      },
      [&] {
        volatile short f = ctl->DateFormat;
        (void)f;
      },
      20000);
  const CString value = L"20240105";
  Pair(
      "a day on: OLE date / seconds", [&] { tamvero::GetComputedDate(value, 1, 1, 1); },
      [&] {
        CString out;
        tamvero::GetBaseComputedDate(value, value, 1, 1, 1, out);
      },
      20000);
  ctl->ExternalRelease();
}

// ---- what an idle window holds ------------------------------------------------------------------

void Holdings() {
  std::printf("\nper idle window (100 made, shown and painted; counted after a warm-up)\n");
  std::printf("%-22s %10s %14s\n", "", "windows", "GDI objects");
  struct Row {
    const char* name;
    HWND (*make)(int, int);
    int style;
  } rows[] = {{"Tamvero date", MakeControl, 0},
              {"Tamvero spin date", MakeControl, 2},
              {"Tamvero time", MakeControl, 1},
              {"picker", MakePicker, 0},
              {"floor: child + EDIT", MakeFloor, 0}};
  for (const Row& r : rows) {
    Thousand(r.make, r.style);
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
    for (int i = 0; i < kBatch; ++i) Unmake(i, made[i]);
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
  Ready(ty, focused);
  int k = 0;
  for (int i = 0; i < 16; ++i) TypeOne(ty, k, paint); // past the first keys' caches
  Pump();
  for (int i = 0; i < n; ++i) TypeOne(ty, k, paint);
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
  const int style = make == MakeControl ? std::atoi(kind + 7) : 0;
  for (int pass = 0; pass < 2; ++pass) {
    const int count = pass == 0 ? kBatch : n;
    for (int i = 0; i < count; ++i) {
      HWND w = make(i % kBatch, style);
      UpdateWindow(w);
      Unmake(i % kBatch, w);
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
    Unmake(0, nullptr);
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
    SmallWork();
    Creation();
  }
  DestroyWindow(g_form);
  TamveroPinClock(nullptr);
  OleUninitialize();
  return rc;
}
