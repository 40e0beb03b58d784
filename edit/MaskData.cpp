#include "MaskData.h"

#include <cwctype>

IMPLEMENT_DYNCREATE(CMaskData)

BOOL CMaskData::IsEntry() const { return Type >= DigitEntry && Type <= CharEntry; }

BOOL CMaskData::IsValidChar(WCHAR ch) const {
  switch (Type) {
  case DigitEntry:
    return iswdigit(ch) != 0;
  case AlphaNumEntry:
    return iswalnum(ch) != 0;
  case LetterEntry:
  case UpperLetterEntry:
  case LowerLetterEntry:
    return iswalpha(ch) != 0;
  case CharEntry:
    // Printable ASCII and the Latin-1 upper half: what a single-byte form field can hold.
    return (ch >= 0x0020 && ch <= 0x007E) || (ch >= 0x0080 && ch <= 0x00FF);
  default:
    return FALSE;
  }
}

WCHAR CMaskData::ConvertChar(WCHAR ch) const {
  switch (Type) {
  case UpperLetterEntry:
    return static_cast<WCHAR>(towupper(ch));
  case LowerLetterEntry:
    return static_cast<WCHAR>(towlower(ch));
  default:
    return ch;
  }
}
