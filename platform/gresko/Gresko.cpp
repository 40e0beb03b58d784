#include "Gresko.h"

#include <cwctype>

namespace {
BOOL g_nullFontManager = FALSE;

// Point sizes of the font indexes; index 2 is the form's usual field font.
const int kPoints[] = {8, 9, 10, 11, 12, 14};

int CALLBACK TakeFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM lParam) {
  if (lf->lfFaceName[0] == L'@') return 1; // vertical variants
  lstrcpynW(reinterpret_cast<wchar_t*>(lParam), lf->lfFaceName, LF_FACESIZE);
  return 0;
}

// Forms show Korean unit letters ("년", "시" ...): the fields use a face that has Hangul
// when the system has one, and Tahoma otherwise.
const wchar_t* FieldFace() {
  static wchar_t face[LF_FACESIZE] = L"";
  if (!face[0]) {
    LOGFONTW want = {};
    want.lfCharSet = HANGUL_CHARSET;
    CClientDC screen(nullptr);
    EnumFontFamiliesExW(screen, &want, TakeFace, reinterpret_cast<LPARAM>(face), 0);
    if (!face[0]) lstrcpynW(face, L"Tahoma", LF_FACESIZE);
  }
  return face;
}
} // namespace

CFontManager::~CFontManager() {
  for (auto& kv : m_fonts) delete kv.second;
}

int CFontManager::FontCount() { return static_cast<int>(sizeof kPoints / sizeof kPoints[0]); }

CFont* CFontManager::GetFont(int index, float scale, BOOL bold) {
  if (index < 0 || index >= FontCount()) return nullptr;
  if (!(scale > 0.05f)) scale = 1.0f;
  int scaled = static_cast<int>(scale * 100.0f + 0.5f);
  auto key = std::make_tuple(index, scaled, bold != FALSE);
  auto it = m_fonts.find(key);
  if (it != m_fonts.end()) return it->second;
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(kPoints[index], GetDeviceCaps(CClientDC(nullptr), LOGPIXELSY), 72) * scaled / 100;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, FieldFace(), LF_FACESIZE);
  CFont* font = new CFont;
  if (!font->CreateFontIndirect(lf)) {
    delete font;
    return nullptr;
  }
  m_fonts.emplace(key, font);
  return font;
}

GRESKO_API CGDIMng* GetGDIMng() {
  static CGDIMng manager;
  return g_nullFontManager ? nullptr : &manager;
}

GRESKO_API CImageMng* GetImageMng() {
  static CImageMng manager;
  return &manager;
}

GRESKO_API void GreskoSetNullFontManager(BOOL nullManager) { g_nullFontManager = nullManager; }

GRESKO_API int GetDgnAnchorPropertyData(CString anchor, int* v1, int* v2, int* v3, int* v4) {
  static const struct {
    const wchar_t* name;
    int flag;
  } kEdges[] = {{L"left", 1}, {L"top", 2}, {L"right", 4}, {L"bottom", 8}};
  int* values[] = {v1, v2, v3, v4};
  int flags = 0;
  int i = 0, n = anchor.GetLength();
  while (i < n) {
    while (i < n && (anchor[i] == L',' || anchor[i] == L';' || iswspace(anchor[i]))) ++i;
    int start = i;
    while (i < n && iswalpha(anchor[i])) ++i;
    CString word = anchor.Mid(start, i - start);
    for (int k = 0; k < word.GetLength(); ++k) word.SetAt(k, static_cast<wchar_t>(towlower(word[k])));
    int edge = -1;
    for (int e = 0; e < 4; ++e)
      if (word == kEdges[e].name) edge = e;
    if (edge >= 0) flags |= kEdges[edge].flag;
    if (i < n && anchor[i] == L':') {
      ++i;
      int margin = _wtoi(anchor.Mid(i));
      while (i < n && (iswdigit(anchor[i]) || anchor[i] == L'-')) ++i;
      if (edge >= 0 && values[edge]) *values[edge] = margin;
    }
    if (i == start) ++i; // skip a character that starts no word
  }
  return flags;
}
