#include "FormFile.h"

#include "WholeFile.h"

namespace {

const DWORD kMagic = 0x46445654; // "TVDF"
const DWORD kVersion = 1;
const ULONGLONG kMaxFormFile = (1 << 26) - 1;
// A control's stored properties: a few hundred bytes; every text in them is bounded by this.
const DWORD kMaxStream = 64 * 1024;
// Window coordinates beyond this are past any screen.
const int kMaxCoordinate = 32767;

struct StoredControl {
  CString Name;
  RECT Rect = {};
  std::vector<BYTE> Stream;
};

} // namespace

std::vector<BYTE> StoreControl(CBaseCtl* ctl) {
  std::vector<BYTE> stream;
  CArchive ar(stream, CArchive::store);
  ctl->Serialize(ar);
  return stream;
}

bool SaveFormFile(DemoForm& form, const std::wstring& path, std::wstring& error) {
  std::vector<BYTE> bytes;
  CArchive ar(bytes, CArchive::store);
  try {
    ar << kMagic << kVersion << static_cast<DWORD>(form.Controls().size());
    for (auto& c : form.Controls()) {
      std::vector<BYTE> stream = StoreControl(c->Ctl);
      ar << CString(c->Name.c_str()) << static_cast<int>(c->Rect.left) << static_cast<int>(c->Rect.top)
         << static_cast<int>(c->Rect.right) << static_cast<int>(c->Rect.bottom) << static_cast<DWORD>(stream.size());
      if (!stream.empty()) ar.Write(stream.data(), stream.size());
    }
  } catch (const CArchiveException& e) {
    error = L"storing the form failed (archive error " + std::to_wstring(e.m_cause) + L")";
    return false;
  }
  if (!WriteWholeFile(path, bytes.data(), bytes.size())) {
    error = L"cannot write " + path;
    return false;
  }
  return true;
}

bool LoadFormFile(DemoForm& form, const std::wstring& path, std::wstring& error) {
  std::vector<BYTE> bytes;
  if (ReadWholeFile(path, kMaxFormFile, bytes) != FileRead::Done) {
    error = L"cannot read " + path;
    return false;
  }
  // Read everything before touching the form: a damaged file leaves it as it was.
  std::vector<StoredControl> stored;
  CArchive ar(bytes, CArchive::load);
  try {
    DWORD magic = 0, version = 0, count = 0;
    ar >> magic >> version >> count;
    if (magic != kMagic || version != kVersion) {
      error = path + L" is not a form file of this demo";
      return false;
    }
    if (count > DemoForm::kMaxControls) {
      error = path + L" holds " + std::to_wstring(count) + L" controls; a form holds at most " +
              std::to_wstring(DemoForm::kMaxControls);
      return false;
    }
    for (DWORD i = 0; i < count; ++i) {
      StoredControl s;
      int l = 0, t = 0, r = 0, b = 0;
      DWORD size = 0;
      ar >> s.Name >> l >> t >> r >> b >> size;
      if (static_cast<size_t>(s.Name.GetLength()) > DemoForm::kMaxNameChars || size > kMaxStream) {
        error = path + L": control " + std::to_wstring(i + 1) + L" has a name or stored properties past the limits (" +
                std::to_wstring(DemoForm::kMaxNameChars) + L" characters, " + std::to_wstring(kMaxStream) + L" bytes)";
        return false;
      }
      // A place the form could not give: the control would be refused after the form's
      // own controls were gone.
      auto onScreen = [](int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
      if (!onScreen(l) || !onScreen(t) || !onScreen(r) || !onScreen(b) || r < l || b < t) {
        error = path + L": control " + std::to_wstring(i + 1) + L" has no place on a form (" + std::to_wstring(l) +
                L"," + std::to_wstring(t) + L" to " + std::to_wstring(r) + L"," + std::to_wstring(b) + L")";
        return false;
      }
      if (size > ar.Remaining()) throw CArchiveException(CArchiveException::endOfFile);
      s.Rect = {l, t, r, b};
      s.Stream.resize(size);
      if (size) ar.Read(s.Stream.data(), size);
      stored.push_back(std::move(s));
    }
  } catch (const CArchiveException&) {
    error = path + L" is cut short or damaged";
    return false;
  } catch (const CMemoryException&) {
    error = path + L" is damaged (a length beyond memory)";
    return false;
  }
  // Names as the form takes them: each present and none twice (letter case aside).
  for (size_t i = 0; i < stored.size(); ++i) {
    const wchar_t* name = stored[i].Name.GetString();
    if (!*name) {
      error = path + L": control " + std::to_wstring(i + 1) + L" has no name";
      return false;
    }
    for (size_t j = 0; j < i; ++j)
      if (_wcsicmp(stored[j].Name.GetString(), name) == 0) {
        error = path + L": two controls are named " + name;
        return false;
      }
  }
  // Every stream must load into a control before the form gives up its own.
  for (auto& s : stored) {
    if (s.Stream.empty()) continue;
    CBaseCtl* probe = form.Library().Alloc();
    if (!probe) {
      error = L"the control library made no control";
      return false;
    }
    std::vector<BYTE> copy(s.Stream);
    CArchive in(copy, CArchive::load);
    bool loads = true;
    try {
      loads = probe->LoadControl(in) != FALSE;
    } catch (const CArchiveException&) {
      loads = false;
    } catch (const CMemoryException&) {
      loads = false;
    }
    probe->ExternalRelease();
    if (!loads) {
      error = L"the stored properties of " + std::wstring(s.Name.str()) + L" in " + path + L" do not load";
      return false;
    }
  }
  form.RemoveAll();
  for (auto& s : stored)
    if (!form.Create(s.Name.str(), s.Rect, L"", s.Stream, error)) return false;
  return true;
}
