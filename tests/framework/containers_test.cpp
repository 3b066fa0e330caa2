// The generic stack and the red-black map.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "framework/map.h"
#include "framework/stack.h"
#include "tests/host/collector_reset.h"

namespace {

struct Item : Object {
    int value = 0;
    static int destroyed;
    ~Item() override { ++destroyed; }
    Item* m_new(int v) {
        value = v;
        return this;
    }
};
int Item::destroyed = 0;

using Node = c_Node<int, Item*>;

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override { ReleaseCollectedObjects(); }
    void TearDown() override { ReleaseCollectedObjects(); }
};

// Checks the red-black rules below `node` and returns its black height; records keys
// in order.
int CheckSubtree(Node* node, Node* parent, std::vector<int>& keys) {
    if (!node) return 1;
    EXPECT_EQ(node->m_parent, parent);
    if (node->m_color == Node::kRed) {
        EXPECT_TRUE(!node->m_left || node->m_left->m_color != Node::kRed);
        EXPECT_TRUE(!node->m_right || node->m_right->m_color != Node::kRed);
    }
    int left = CheckSubtree(node->m_left, node, keys);
    keys.push_back(node->m_key);
    int right = CheckSubtree(node->m_right, node, keys);
    EXPECT_EQ(left, right) << "black heights differ under key " << node->m_key;
    return left + (node->m_color == Node::kRed ? 0 : 1);
}

TEST_F(ContainerTest, IntMapStaysABalancedOrderedTreeUnderAnyInsertionOrder) {
    std::vector<int> keys;
    for (int i = 0; i < 500; ++i) keys.push_back(i * 3 - 700);
    std::vector<std::vector<int>> orders = {keys, keys, keys};
    std::reverse(orders[1].begin(), orders[1].end());
    std::shuffle(orders[2].begin(), orders[2].end(), std::mt19937(7));
    for (const auto& order : orders) {
        auto* map = (new c_IntMap<Item*>)->m_new();
        for (int k : order) EXPECT_TRUE(map->p_Set(k, (new Item)->m_new(k)));
        ASSERT_NE(map->m_root, nullptr);
        EXPECT_NE(map->m_root->m_color, Node::kRed);
        std::vector<int> inOrder;
        int height = CheckSubtree(map->m_root, nullptr, inOrder);
        EXPECT_EQ(inOrder, keys);
        // A black height of h needs at least 2^h - 1 keys: 500 keys allow 8, plus the leaves.
        EXPECT_LE(height, 9);
        for (int k : keys) {
            ASSERT_TRUE(map->p_Contains(k));
            EXPECT_EQ(map->p_FindNode(k)->m_value->value, k);
        }
        EXPECT_FALSE(map->p_Contains(-701));
        EXPECT_FALSE(map->p_Contains(1));
    }
}

TEST_F(ContainerTest, IntMapSettingAnExistingKeyReplacesItsValue) {
    auto* map = (new c_IntMap<Item*>)->m_new();
    EXPECT_TRUE(map->p_Set(5, (new Item)->m_new(1)));
    EXPECT_FALSE(map->p_Set(5, (new Item)->m_new(2)));
    EXPECT_TRUE(map->p_Insert(6, (new Item)->m_new(3)));
    EXPECT_EQ(map->p_Get(5)->value, 2);
    EXPECT_EQ(map->p_Get(6)->value, 3);
    EXPECT_EQ(map->p_Get(7), nullptr);
}

TEST_F(ContainerTest, IntMapReachableNodesAndValuesSurviveCollections) {
    static c_IntMap<Item*>* root = nullptr;
    gc_root(root);
    gc_assign(root, (new c_IntMap<Item*>)->m_new());
    for (int k = 0; k < 200; ++k) root->p_Set(k, (new Item)->m_new(k * 2));
    Item::destroyed = 0;
    // Garbage from elsewhere pushes the collector through full collections.
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 1000; ++i) new Item;
        gc_collect_all();
    }
    EXPECT_GT(Item::destroyed, 0);
    root->p_Set(0, (new Item)->m_new(-1));  // the replaced value becomes garbage
    gc_collect_all();
    gc_collect_all();
    for (int i = 0; i < 100; ++i) new Item;
    for (int k = 1; k < 200; ++k) ASSERT_EQ(root->p_Get(k)->value, k * 2);
    EXPECT_EQ(root->p_Get(0)->value, -1);
}

TEST_F(ContainerTest, StackGrowsAndCopiesOutExactlyItsElements) {
    auto* stack = (new c_Stack<int>)->m_new();
    EXPECT_EQ(stack->p_ToArray().Length(), 0);
    for (int i = 0; i < 100; ++i) stack->p_Push(i * i);
    Array<int> all = stack->p_ToArray();
    ASSERT_EQ(all.Length(), 100);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(all[i], i * i);
    // Growth: 0 -> 10 -> 30 -> 70 -> 150 slots.
    EXPECT_EQ(stack->m_data.Length(), 150);
    EXPECT_NE(all, stack->m_data);
}

TEST_F(ContainerTest, StackPushesRangesAndStartsFromACopy) {
    const String source[] = {"a", "b", "c", "d"};
    Array<String> words(source, 4);
    auto* stack = (new c_Stack<String>)->m_new2(words);
    words[0] = "changed";
    stack->p_Push2(words, 1, 2);
    stack->p_Push3(words, 3);
    Array<String> all = stack->p_ToArray();
    std::vector<std::string> got;
    for (int i = 0; i < all.Length(); ++i) got.push_back(all[i].ToUtf8());
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c", "d", "b", "c", "d"}));
}

}  // namespace
