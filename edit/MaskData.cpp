#include "MaskData.h"

IMPLEMENT_DYNCREATE(CMaskData)

BOOL CMaskData::IsEntry() const { return Type >= DigitEntry && Type <= CharEntry; }
BOOL CMaskData::IsValidChar(WCHAR) const { return FALSE; }
WCHAR CMaskData::ConvertChar(WCHAR ch) const { return ch; }
