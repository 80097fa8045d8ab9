// A doubly linked list of object pointers that recycles up to ten spare
// nodes before it asks the heap for a new one.
#pragma once

#include "media/filters/com_object.h"

class D_CBaseList {
 public:
  struct Node {
    Node* previous;
    Node* next;
    void* object;
  };
  using Position = Node*;
  static constexpr int kNodeCacheCapacity = 10;

  explicit D_CBaseList(const char* name);
  ~D_CBaseList();
  D_CBaseList(const D_CBaseList&) = delete;
  D_CBaseList& operator=(const D_CBaseList&) = delete;

  Position AddTail(void* object);
  // True when every object of the other list was appended.
  bool AddTail(const D_CBaseList& other);
  Position GetHeadPosition() const { return head_; }
  // The object at the position; the position moves on (null at the end).
  void* GetNext(Position& position) const;
  void* Get(Position position) const { return position != nullptr ? position->object : nullptr; }
  Position Next(Position position) const { return position != nullptr ? position->next : head_; }
  Position Find(const void* object) const;
  void* Remove(Position position);
  void* RemoveHead() { return Remove(head_); }
  void RemoveAll();
  int GetCount() const { return count_; }
  int GetCachedNodeCount() const { return cachedCount_; }

 private:
  Node* NewNode();

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int count_ = 0;
  int cacheCapacity_ = kNodeCacheCapacity;
  int cachedCount_ = 0;
  Node* firstCached_ = nullptr;
};

// The list of one kind of object.
template <class T>
class D_CGenericList : public D_CBaseList {
 public:
  using D_CBaseList::D_CBaseList;
  Position AddTail(T* object) { return D_CBaseList::AddTail(object); }
  T* GetNext(Position& position) const { return static_cast<T*>(D_CBaseList::GetNext(position)); }
  T* Get(Position position) const { return static_cast<T*>(D_CBaseList::Get(position)); }
  T* Remove(Position position) { return static_cast<T*>(D_CBaseList::Remove(position)); }
  T* RemoveHead() { return static_cast<T*>(D_CBaseList::RemoveHead()); }
};
