// What a form runtime relies on beyond the automation interface: the base operations in a
// form's life order, drawing into the host's own DC, discovery of the type library and the
// events from nothing but IUnknown, and connection points a derived control adds.
#include "TestHost.h"

#include "fxhandle.h"

#include <sstream>
#include <tuple>

using namespace testhost;

namespace {

// A bitmap like the screen, filled with magenta, which the control never paints.
struct Pixels {
  Pixels(HDC like, int w, int h) : dc(like) {
    bitmap.Attach(CreateCompatibleBitmap(like, w, h));
    SelectObject(dc, bitmap); // let go when the DC is deleted, before the bitmap
    dc.FillSolidRect(CRect(0, 0, w, h), RGB(255, 0, 255));
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  CBitmap bitmap;
  CMemDC dc;
};

} // namespace

class HostContract : public ControlFixture {};

// Naming, sizing and refusing a late load are the host's form tests'; here what only the
// control's side shows.
TEST_F(HostContract, AFormsLifeRunsThroughTheBase) {
  CCalendarCtl* earlier = AllocRunDllControl(); // what an earlier run of the form stored
  earlier->Style = 2;
  earlier->DateFormat = 9;
  earlier->Fid = L"F1";
  std::vector<BYTE> stream = StoredProperties(earlier), none;
  earlier->ExternalRelease();
  CBaseCtl* base = Ctl; // constructed: the runtime knows it only as its base
  // The runtime's fixed questions: the control's dispatch interface and how it paints.
  IID iid = IID_NULL;
  EXPECT_TRUE(base->GetDispatchIID(&iid) && IsEqualIID(iid, IID_ICalendarCtl));
  EXPECT_EQ(base->GetControlFlags(), static_cast<DWORD>(clipPaintDC));
  CArchive storing(none, CArchive::store), loading(stream, CArchive::load);
  EXPECT_FALSE(base->LoadControl(storing));
  ASSERT_TRUE(base->LoadControl(loading));
  EXPECT_EQ(Ctl->Edit.m_hWnd, nullptr) << "loading only fills the members";

  base->SetRunMode(TRUE);
  base->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  Rec.Changes.clear();
  const CRect at(10, 10, 190, 36);
  ASSERT_TRUE(base->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, at, FormWindow(), 100));
  EXPECT_FALSE(base->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, at, FormWindow(), 100));
  // Enabled (run), colours, date format, style, date range, initial value, font; the
  // form is told the same.
  EXPECT_SEQ(Rec.Changes, std::vector<std::wstring>({L"10000", L"5", L"6", L"7", L"15", L"10", L"12", L"18"}));
  EXPECT_SEQ(Form->Calls.Only(seq::Change), Rec.Changes.All());
  Pump();

  // Running: creation applied format 9 with its mask; the form resizes through the base and
  // the control lays itself out; the property browser reads display strings.
  Ctl->SetMethodString(FMI_CLEAR_VALUE, L"", L"", 0);
  EXPECT_TRUE(base->SetControlSize(200, 30));
  std::wstringstream seen;
  seen << Ctl->Edit.GetWindowText().str() << "|" << Ctl->GetWindowRect().Width() << "|" << Ctl->ClientWidth;
  for (DISPID id : {PROP_Style, PROP_Fid, 999}) {
    CString shown = L"none";
    seen << "|" << base->OnGetDisplayString(id, shown) << shown.str();
  }
  EXPECT_EQ(seen.str(), L"    /  |200|200|12|1F1|0none");

  // Saving: the data object's rendering is the stored stream (the round trip is PersistTest's).
  FORMATETC format = {static_cast<CLIPFORMAT>(CBaseCtl::ControlPropertiesFormat()), nullptr, DVASPECT_CONTENT, -1,
                      TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  ASSERT_TRUE(base->OnGetData(&format, &medium) && medium.tymed == TYMED_HGLOBAL);
  CGlobalHandle owned(medium.hGlobal); // the caller's to free: no releasing object comes with it
  const BYTE* rendered = static_cast<const BYTE*>(GlobalLock(owned.Get()));
  EXPECT_EQ(std::vector<BYTE>(rendered, rendered + GlobalSize(owned.Get())), StoredProperties(base));
  GlobalUnlock(owned.Get());
  format.cfFormat = CF_TEXT;
  EXPECT_FALSE(base->OnGetData(&format, &medium));

  // Destroying: the window goes, then the object with the runtime's reference and the
  // sinks it held.
  HWND window = base->m_hWnd, field = Ctl->Edit.m_hWnd;
  EXPECT_TRUE(base->DestroyWindow());
  EXPECT_FALSE(IsWindow(window) || IsWindow(field));
  EXPECT_GT(Rec.RefCount(), 1u);
  Ctl->ExternalRelease();
  Ctl = nullptr;
  EXPECT_EQ(Rec.RefCount(), 1u);
}

TEST_F(HostContract, AGenericHostFindsAndSinksTheEventsKnowingOnlyIUnknown) {
  Create();
  CComPtr<IUnknown> unknown;
  ASSERT_EQ(Ctl->GetPrimaryDispatch()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);

  CComPtr<IProvideClassInfo2> info;
  CComPtr<ITypeInfo> coclass;
  CComPtr<ITypeLib> lib;
  UINT index = 0;
  TYPEATTR* attr = nullptr;
  TLIBATTR* libAttr = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info)), S_OK);
  ASSERT_EQ(info->GetClassInfo(&coclass), S_OK);
  ASSERT_EQ(coclass->GetContainingTypeLib(&lib, &index), S_OK);
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  // The control's class, in the module's own type library: the one GetCtrlGUID names.
  EXPECT_EQ(std::make_tuple(attr->typekind, attr->guid, libAttr->guid),
            std::make_tuple(TKIND_COCLASS, CLSID_CalendarCtl, GetCtrlGUID()));
  coclass->ReleaseTypeAttr(attr);
  lib->ReleaseTLibAttr(libAttr);
  IID events = IID_NULL;
  EXPECT_EQ(info->GetGUID(2, &events), E_INVALIDARG);
  ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, DIID_ICalendarCtlEvents);

  CComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(unknown->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
  // The order of the enumerated points is checked with a derived control's extra point below.
  CComPtr<IConnectionPoint> eventPoint;
  ASSERT_EQ(container->FindConnectionPoint(events, &eventPoint), S_OK);

  // A sink that answers IDispatch alone: fine for events, not for property changes. It
  // outlives the test, so that a failed check leaves no point holding a dead sink.
  static struct DispatchOnly : Recorder {
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        return Recorder::QueryInterface(IID_IDispatch, ppv);
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
  } sink;
  DWORD cookie = 0;
  ASSERT_EQ(Point(IID_IPropertyNotifySink)->Advise(static_cast<IDispatch*>(&sink), &cookie), CONNECT_E_CANNOTCONNECT);
  ASSERT_EQ(eventPoint->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
  // The connections list the fixture's sink and this one, each with its cookie.
  CComPtr<IEnumConnections> connections, rest;
  ASSERT_EQ(eventPoint->EnumConnections(&connections), S_OK);
  EXPECT_EQ(connections->Skip(1), S_OK);
  ASSERT_EQ(connections->Clone(&rest), S_OK);
  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(rest->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(std::make_pair(data[0].dwCookie, data[0].pUnk),
            std::make_pair(cookie, static_cast<IUnknown*>(static_cast<IDispatch*>(&sink))));
  data[0].pUnk->Release();
  ASSERT_EQ(connections->Reset(), S_OK);
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(std::make_pair(data[0].dwCookie, data[1].dwCookie), std::make_pair(EventCookie, cookie));
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();

  // Every sink runs before the control goes on: the first re-enters the control from its
  // handler, and the second, still inside the same SendMessage, sees what it set.
  static CCalendarCtl* ctl;
  static CString seenBySecond;
  ctl = Ctl;
  Rec.OnEvent = [](Recorder*, DISPID, DISPPARAMS*) { ctl->Item = L"set by the first sink"; };
  sink.OnEvent = [](Recorder*, DISPID, DISPPARAMS*) { seenBySecond = ctl->Item; };
  ASSERT_EQ(PutLong(L"ItemFlag", 2), S_OK); // a property change reaches no event sink
  SendMessageW(Ctl->m_hWnd, WM_CALENDAR_EVENT, 1, 0);
  EXPECT_EQ(sink.Events.Take(), std::vector<std::wstring>{L"EditEnter"});
  EXPECT_EQ(seenBySecond, CString(L"set by the first sink"));
  EXPECT_EQ(eventPoint->Unadvise(cookie), S_OK);
  EXPECT_EQ(eventPoint->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  SendMessageW(Ctl->m_hWnd, WM_CALENDAR_EVENT, 1, 0);
  EXPECT_TRUE(sink.Events.empty());
  EXPECT_EQ(Rec.Events.Take(), std::vector<std::wstring>({L"EditEnter", L"EditEnter"}));
  connections.Release();
  rest.Release();
  EXPECT_EQ(sink.RefCount(), 1u) << "every reference the control and its enumerators took is back";
}

TEST_F(HostContract, APrintedControlMatchesItsWindow) {
  const std::pair<short, const wchar_t*> cases[] = {{0, L"20240105"}, {2, L"20241231"}, {3, L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.first);
    Renew();
    Ctl->Style = c.first;
    Create(true, 160, 24);
    ASSERT_EQ(PutString(L"Caption", c.second), S_OK);
    ::SetFocus(FormWindow()); // no caret in the field
    RedrawWindow(FormWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const CRect at = Ctl->GetWindowRect(), field = EditRectInControl(Ctl);
    CClientDC screen(nullptr);
    Pixels shown(screen, at.Width(), at.Height()), printed(screen, at.Width(), at.Height()),
        client(screen, at.Width(), at.Height());
    BitBlt(shown.dc, 0, 0, at.Width(), at.Height(), screen, at.left, at.top, SRCCOPY);
    SendMessageW(Ctl->m_hWnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc.m_hDC),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    SendMessageW(Ctl->m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(client.dc.m_hDC), PRF_CLIENT);
    // Printed, every pixel is as shown, an unpainted one too; WM_PRINTCLIENT alone draws
    // the frame and the button as shown.
    int printDiffers = 0, clientDiffers = 0, text = 0;
    for (int y = 0; y < at.Height(); ++y)
      for (int x = 0; x < at.Width(); ++x) {
        const COLORREF p = printed.At(x, y);
        const bool inField = field.PtInRect(CPoint(x, y));
        printDiffers += p != shown.At(x, y);
        clientDiffers += !inField && client.At(x, y) != shown.At(x, y);
        text += inField && (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16) < 384; // dark on light
      }
    EXPECT_EQ(std::make_pair(printDiffers, clientDiffers), std::make_pair(0, 0));
    EXPECT_GT(text, 0) << "the field's digits or mask are printed";
  }
}

namespace {

const IID IID_ExtraOutgoing = {0x5b1e0c7a, 0x2f41, 0x4d9b, {0x9a, 0x61, 0x0c, 0x3e, 0x77, 0x12, 0xa4, 0x08}};

IConnectionPointContainer* ContainerOf(CBaseCtl* c) {
  IConnectionPointContainer* p = nullptr;
  c->ExternalQueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&p));
  if (p) p->Release(); // borrowed: the point lives inside the control
  return p;
}

// A control of a derived class with one more outgoing interface, and a hook that answers
// for property notifications ahead of the base.
class ExtraPointsCtl : public CCalendarCtl {
public:
  CConnectionPoint Extra{ContainerOf(this), IID_ExtraOutgoing, true};
  CConnectionPoint Hooked{ContainerOf(this), IID_IPropertyNotifySink, false};
  int GetExtraConnectionPoints(IConnectionPoint** points, int max) override {
    if (max < 1) return 0;
    points[0] = &Extra;
    return 1;
  }
  IConnectionPoint* GetConnectionHook(REFIID iid) override {
    return IsEqualIID(iid, IID_IPropertyNotifySink) ? &Hooked : nullptr;
  }
};

} // namespace

TEST(HostContractPoints, DerivedControlsAddPointsAndHooksThatEnumerationAndLookupFind) {
  auto* ctl = new ExtraPointsCtl;
  IConnectionPointContainer* container = ContainerOf(ctl);
  ASSERT_NE(container, nullptr);
  CComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
  IConnectionPoint* got[4] = {};
  ULONG n = 0;
  EXPECT_EQ(points->Next(4, got, &n), S_FALSE);
  std::vector<IID> iids(n);
  for (ULONG i = 0; i < n; ++i) {
    got[i]->GetConnectionInterface(&iids[i]);
    got[i]->Release();
  }
  EXPECT_EQ(iids, std::vector<IID>({DIID_ICalendarCtlEvents, IID_IPropertyNotifySink, IID_ExtraOutgoing}));
  EXPECT_EQ(got[2], static_cast<IConnectionPoint*>(&ctl->Extra));
  points.Release();
  const std::pair<const IID*, IConnectionPoint*> lookups[] = {
      {&IID_ExtraOutgoing, &ctl->Extra}, {&IID_IPropertyNotifySink, &ctl->Hooked}, {&IID_IDispatch, nullptr}};
  for (const auto& l : lookups) {
    CComPtr<IConnectionPoint> found;
    EXPECT_EQ(container->FindConnectionPoint(*l.first, &found), l.second ? S_OK : CONNECT_E_NOCONNECTION);
    EXPECT_EQ(static_cast<IConnectionPoint*>(found), l.second);
  }
  ctl->ExternalRelease();
}
