// The control's share of the form's stored data: a version mark, the properties in one
// fixed order and width, then the base's anchor record.
#include "CalendarCtl.h"

#include "Gresko.h"

namespace {
// Low word 2: the current layout. The high word is written as 1 and never read.
const DWORD kStreamVersion = 0x00010002;

void StoreBool(CArchive& ar, BOOL v) { ar << static_cast<LONG>(v); }
void LoadBool(CArchive& ar, BOOL& v) {
  LONG x;
  ar >> x;
  v = x;
}
} // namespace

void CCalendarCtl::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << kStreamVersion;
    StoreBool(ar, Enabled);
    StoreBool(ar, Visible);
    ar << AppearanceStyle << Caption;
    ar << static_cast<LONG>(BackColorIndex) << static_cast<LONG>(ForeColorIndex);
    ar << DateFormat << ItemFlag << StartTime << EndTime;
    ar << BasicClient << Variance << Indicator << Style << TimeFormat;
    StoreBool(ar, AutoSave);
    ar << FontIndex << Fid;
    StoreBool(ar, RequireInput);
    ar << NextFocusCtrlName;
    StoreBool(ar, NotCheckDate);
    // The anchor data is recomputed from the text on every store, in either mode.
    AnchorFlag = GetDgnAnchorPropertyData(CString(Anchor), &AnchorValue1, &AnchorValue2, &AnchorValue3, &AnchorValue4);
    ar << static_cast<LONG>(AnchorFlag) << static_cast<LONG>(AnchorValue1) << static_cast<LONG>(AnchorValue2)
       << static_cast<LONG>(AnchorValue3) << static_cast<LONG>(AnchorValue4);
    return;
  }

  // Loading only fills the members: the window's creation applies them.
  DWORD version = 0;
  ar >> version;
  LoadBool(ar, Enabled);
  LoadBool(ar, Visible);
  ar >> AppearanceStyle >> Caption;
  LONG color = 0;
  ar >> color;
  BackColorIndex = color;
  ar >> color;
  ForeColorIndex = color;
  ar >> DateFormat >> ItemFlag >> StartTime >> EndTime;
  ar >> BasicClient >> Variance >> Indicator >> Style >> TimeFormat;
  LoadBool(ar, AutoSave);
  ar >> FontIndex >> Fid;
  LoadBool(ar, RequireInput);
  ar >> NextFocusCtrlName;
  LoadBool(ar, NotCheckDate);
  ar >> AnchorFlag >> AnchorValue1 >> AnchorValue2 >> AnchorValue3 >> AnchorValue4;
  // Version-1 streams mark "no upper bound" as the year 3000.
  if (LOWORD(version) < 2 && EndTime == L"30001231") EndTime = L"99991231";
}
