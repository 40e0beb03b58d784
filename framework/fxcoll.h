// Objects with a runtime class, and the two containers the control keeps: a list of
// owned object pointers and a pointer-to-pointer map.
#pragma once

#include "fx.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class CObject;
class CArchive;

struct FX_API CRuntimeClass {
  const char* m_lpszClassName;
  CObject* (*m_pfnCreateObject)();
  CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

class FX_API CObject {
public:
  virtual ~CObject();
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual void Serialize(CArchive& ar);
  static const CRuntimeClass classCObject;
};

#define DECLARE_DYNAMIC(cls)                                                                                           \
public:                                                                                                                \
  static const CRuntimeClass class##cls;                                                                               \
  const CRuntimeClass* GetRuntimeClass() const override { return &class##cls; }

#define IMPLEMENT_DYNAMIC(cls) const CRuntimeClass cls::class##cls = {#cls, nullptr};

#define DECLARE_DYNCREATE(cls)                                                                                         \
  DECLARE_DYNAMIC(cls)                                                                                                 \
  static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(cls)                                                                                       \
  CObject* cls::CreateObject() { return new cls; }                                                                     \
  const CRuntimeClass cls::class##cls = {#cls, &cls::CreateObject};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

// Opaque position in a list.
struct __POSITION {};
typedef __POSITION* POSITION;

class FX_API CObList {
public:
  explicit CObList(int blockSize = 10) { (void)blockSize; }
  ~CObList() { RemoveAll(); }
  CObList(const CObList&) = delete;
  CObList& operator=(const CObList&) = delete;

  int GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }
  POSITION AddTail(CObject* obj);
  POSITION GetHeadPosition() const { return reinterpret_cast<POSITION>(m_head); }
  CObject*& GetNext(POSITION& pos) const;
  // Frees the list's nodes; the objects themselves belong to the caller.
  void RemoveAll();

private:
  struct Node {
    Node* next;
    Node* prev;
    CObject* data;
  };
  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  int m_count = 0;
};

template <class BASE, class TYPE> class CTypedPtrList : public BASE {
public:
  explicit CTypedPtrList(int blockSize = 10) : BASE(blockSize) {}
  POSITION AddTail(TYPE obj) { return BASE::AddTail(obj); }
  TYPE GetNext(POSITION& pos) const { return static_cast<TYPE>(BASE::GetNext(pos)); }
};

class FX_API CMapPtrToPtr {
public:
  explicit CMapPtrToPtr(int blockSize = 10) { (void)blockSize; }
  BOOL Lookup(void* key, void*& value) const;
  void SetAt(void* key, void* value) { m_map[key] = value; }
  BOOL RemoveKey(void* key) { return m_map.erase(key) != 0; }

private:
  std::unordered_map<void*, void*> m_map;
};

// The form protocol's argument containers. The control's base only passes them on, so
// they hold their elements and nothing more.
template <class TYPE> class CFxArray {
public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int Add(const TYPE& item) {
    m_items.push_back(item);
    return GetSize() - 1;
  }
  const TYPE& GetAt(int index) const { return m_items.at(static_cast<size_t>(index)); }
  void RemoveAll() { m_items.clear(); }

private:
  std::vector<TYPE> m_items;
};
class CObArray : public CFxArray<CObject*> {};
class CStringArray : public CFxArray<CString> {};
class CDWordArray : public CFxArray<DWORD> {};
class CMapStringToPtr {
public:
  void SetAt(const CString& key, void* value) { m_map[key.GetString()] = value; }
  int GetCount() const { return static_cast<int>(m_map.size()); }

private:
  std::map<std::wstring, void*> m_map;
};
