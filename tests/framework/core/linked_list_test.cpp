#include "core/base/linked_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class LinkedListTest : public testing::Test {
 protected:
  void SetUp() override { InitLinkedList(&head_, &end_); }

  std::vector<std::uint32_t> ValuesForward() const {
    std::vector<std::uint32_t> values;
    for (const ListNode* n = head_.next; n != &end_; n = n->next) values.push_back(n->value);
    return values;
  }
  std::vector<std::uint32_t> ValuesBackward() const {
    std::vector<std::uint32_t> values;
    for (const ListNode* n = end_.prev; n != &head_; n = n->prev) values.insert(values.begin(), n->value);
    return values;
  }

  ListNode head_{};
  ListNode end_{};
  ListNode nodes_[4]{};
};

TEST_F(LinkedListTest, EmptyListLinksTheSentinels) {
  EXPECT_EQ(head_.prev, nullptr);
  EXPECT_EQ(head_.next, &end_);
  EXPECT_EQ(end_.prev, &head_);
  EXPECT_EQ(end_.next, nullptr);
  EXPECT_EQ(head_.value, 0xFFFFFFFFu);
  EXPECT_EQ(end_.value, 0xFFFFFFFFu);
  EXPECT_EQ(head_.owner, nullptr);
}

TEST_F(LinkedListTest, AppendInsertsDirectlyAfterTheGivenNode) {
  int owner = 0;
  AppendListNode(&head_, &nodes_[0], 10, &owner);
  AppendListNode(&nodes_[0], &nodes_[1], 20, nullptr);
  AppendListNode(&head_, &nodes_[2], 5, nullptr);       // at the front
  AppendListNode(end_.prev, &nodes_[3], 30, nullptr);   // at the back
  const std::vector<std::uint32_t> expected{5, 10, 20, 30};
  EXPECT_EQ(ValuesForward(), expected);
  EXPECT_EQ(ValuesBackward(), expected);
  EXPECT_EQ(nodes_[0].owner, &owner);
}

TEST_F(LinkedListTest, RemoveUnlinksAndLeavesTheNodesOwnLinks) {
  for (int i = 0; i < 3; ++i) AppendListNode(end_.prev, &nodes_[i], static_cast<std::uint32_t>(i), nullptr);
  RemoveListNode(&nodes_[1]);
  EXPECT_EQ(ValuesForward(), (std::vector<std::uint32_t>{0, 2}));
  EXPECT_EQ(ValuesBackward(), (std::vector<std::uint32_t>{0, 2}));
  EXPECT_EQ(nodes_[1].prev, &nodes_[0]);
  EXPECT_EQ(nodes_[1].next, &nodes_[2]);

  RemoveListNode(&nodes_[0]);
  RemoveListNode(&nodes_[2]);
  EXPECT_EQ(head_.next, &end_);
  EXPECT_EQ(end_.prev, &head_);
}

}  // namespace
