// One position of an edit mask: its kind and the character it shows.
#pragma once

#include "TamveroApi.h"
#include "fxcoll.h"

enum MaskType : int {
  DecimalSeparator = 0,
  ThousandsSeparator = 1,
  TimeSeparator = 2,
  DateSeparator = 3,
  DigitEntry = 4,
  AlphaNumEntry = 5,
  LetterEntry = 6,
  UpperLetterEntry = 7,
  LowerLetterEntry = 8,
  CharEntry = 9,
  EscapedLiteral = 10,
  Literal = 11,
};

class TAMVERO_API CMaskData : public CObject {
  DECLARE_DYNCREATE(CMaskData)
public:
  int Type = Literal;
  WCHAR Char = 0;

  BOOL IsEntry() const;
  BOOL IsValidChar(WCHAR ch) const;
  WCHAR ConvertChar(WCHAR ch) const;
};
