#include "fxcoll.h"

const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

CObject::~CObject() = default;
const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }
void CObject::Serialize(CArchive&) {}

POSITION CObList::AddTail(CObject* obj) {
  Node* n = new Node{nullptr, m_tail, obj};
  if (m_tail)
    m_tail->next = n;
  else
    m_head = n;
  m_tail = n;
  ++m_count;
  return reinterpret_cast<POSITION>(n);
}

CObject*& CObList::GetNext(POSITION& pos) const {
  Node* n = reinterpret_cast<Node*>(pos);
  pos = reinterpret_cast<POSITION>(n->next);
  return n->data;
}

void CObList::RemoveAll() {
  Node* n = m_head;
  while (n) {
    Node* next = n->next;
    delete n;
    n = next;
  }
  m_head = m_tail = nullptr;
  m_count = 0;
}

BOOL CMapPtrToPtr::Lookup(void* key, void*& value) const {
  auto it = m_map.find(key);
  if (it == m_map.end()) return FALSE;
  value = it->second;
  return TRUE;
}
