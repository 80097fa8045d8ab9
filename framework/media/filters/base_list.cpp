// The linked list with its cache of spare nodes.
#include "media/filters/base_list.h"

#include "core/base/tracked_allocator.h"

D_CBaseList::D_CBaseList(const char*) {}

D_CBaseList::~D_CBaseList() {
  RemoveAll();
  while (firstCached_ != nullptr) {
    Node* next = firstCached_->next;
    TrackedFree(firstCached_);
    firstCached_ = next;
  }
  cachedCount_ = 0;
}

D_CBaseList::Node* D_CBaseList::NewNode() {
  if (firstCached_ != nullptr) {
    Node* node = firstCached_;
    firstCached_ = node->next;
    --cachedCount_;
    return node;
  }
  return static_cast<Node*>(TrackedAlloc(sizeof(Node), "", 0));
}

D_CBaseList::Position D_CBaseList::AddTail(void* object) {
  Node* node = NewNode();
  if (node == nullptr) return nullptr;
  node->object = object;
  node->next = nullptr;
  node->previous = tail_;
  if (tail_ != nullptr) {
    tail_->next = node;
  } else {
    head_ = node;
  }
  tail_ = node;
  ++count_;
  return node;
}

bool D_CBaseList::AddTail(const D_CBaseList& other) {
  for (Position position = other.GetHeadPosition(); position != nullptr; position = position->next) {
    if (AddTail(position->object) == nullptr) return false;
  }
  return true;
}

void* D_CBaseList::GetNext(Position& position) const {
  if (position == nullptr) return nullptr;
  void* object = position->object;
  position = position->next;
  return object;
}

D_CBaseList::Position D_CBaseList::Find(const void* object) const {
  for (Position position = head_; position != nullptr; position = position->next) {
    if (position->object == object) return position;
  }
  return nullptr;
}

void* D_CBaseList::Remove(Position position) {
  if (position == nullptr) return nullptr;
  if (position->previous != nullptr) {
    position->previous->next = position->next;
  } else {
    head_ = position->next;
  }
  if (position->next != nullptr) {
    position->next->previous = position->previous;
  } else {
    tail_ = position->previous;
  }
  void* object = position->object;
  --count_;
  if (cachedCount_ < cacheCapacity_) {
    position->next = firstCached_;
    firstCached_ = position;
    ++cachedCount_;
  } else {
    TrackedFree(position);
  }
  return object;
}

void D_CBaseList::RemoveAll() {
  while (head_ != nullptr) {
    Node* next = head_->next;
    TrackedFree(head_);
    head_ = next;
  }
  tail_ = nullptr;
  count_ = 0;
}
