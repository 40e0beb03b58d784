// What a screen reader finds in the control: an IAccessible for the control's window
// (and its field, which forwards to it), and the win events that tell a reader the value
// or the drop-down changed.
#pragma once

#include "TamveroApi.h"
#include "fxstring.h"

#include <oleacc.h>

class CCalendarCtl;

namespace tamvero {

// The field's text as a reader should say it: the mask's blank positions left out and
// the literals after the last typed character dropped ("2024/03/" reads "2024/03").
TAMVERO_API CString AccessibleValue(const CCalendarCtl& ctl);
// The label the form placed just before the control, else its Item.
TAMVERO_API CString AccessibleName(const CCalendarCtl& ctl);

// Answers WM_GETOBJECT for the control's window and its field.
LRESULT AnswerGetObject(CCalendarCtl& ctl, WPARAM wParam, LPARAM lParam);
// The window goes: a reader still holding the object gets a clear failure.
void DisconnectAccessible(CCalendarCtl& ctl);
// Tells readers that the drop-down opened or closed, when it did.
void AnnounceExpanded(CCalendarCtl& ctl, BOOL expanded);

// Held for the length of one message to the control or its field: when the outermost
// one ends, a value that changed is announced once, whatever path changed it.
class ValueWatch {
public:
  explicit ValueWatch(CCalendarCtl* ctl);
  ~ValueWatch();
  ValueWatch(const ValueWatch&) = delete;
  ValueWatch& operator=(const ValueWatch&) = delete;

private:
  CCalendarCtl* m_ctl;
  HWND m_hwnd;
};

} // namespace tamvero
