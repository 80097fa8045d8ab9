// Intrusive doubly linked list with sentinel head and end nodes.
#pragma once

#include <cstdint>

struct ListNode {
  std::uint32_t value;
  void* owner;
  ListNode* prev;
  ListNode* next;
};

// Links head and end to each other (both value -1, no owner); returns 0.
int InitLinkedList(ListNode* head, ListNode* end);
// Links node directly after the given node; returns 0.
int AppendListNode(ListNode* after, ListNode* node, std::uint32_t value, void* owner);
// Unlinks the node, leaving its own links as they were; returns 0.
int RemoveListNode(ListNode* node);
