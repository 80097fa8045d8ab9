#include "core/base/linked_list.h"

namespace {
constexpr std::uint32_t kSentinelValue = 0xFFFFFFFFu;
}

int InitLinkedList(ListNode* head, ListNode* end) {
  *head = ListNode{kSentinelValue, nullptr, nullptr, end};
  *end = ListNode{kSentinelValue, nullptr, head, nullptr};
  return 0;
}

int AppendListNode(ListNode* after, ListNode* node, std::uint32_t value, void* owner) {
  node->value = value;
  node->owner = owner;
  node->prev = after;
  node->next = after->next;
  if (after->next != nullptr) after->next->prev = node;
  after->next = node;
  return 0;
}

int RemoveListNode(ListNode* node) {
  if (node->prev != nullptr) node->prev->next = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  return 0;
}
