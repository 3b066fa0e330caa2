// Random graph mutations through the write barrier, with one collector step per simulated
// dispatched call and frequent full collections: nothing reachable from a root may ever be
// destroyed, and everything unreachable is eventually destroyed.
#include <set>
#include <vector>

#include "tests/runtime/collector_fixture.h"

namespace {

std::vector<bool> g_alive;

class Node : public Object {
public:
    int id;
    Array<Node*> kids;
    Node* next = nullptr;
    Node() : id(int(g_alive.size())) { g_alive.push_back(true); }
    ~Node() override { g_alive[size_t(id)] = false; }
    void mark() override {
        gc_mark_q(kids);
        gc_mark_q(next);
    }
};

Array<Node*> g_table;
Node* g_head;

class Rng {
public:
    unsigned Next(unsigned bound) {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 8) % bound;
    }

private:
    unsigned state_ = 2024;
};

std::vector<Node*> Reachable() {
    std::vector<Node*> out;
    std::set<Node*> seen;
    std::vector<Node*> work;
    for (int i = 0; i < g_table.Length(); ++i) work.push_back(g_table[i]);
    work.push_back(g_head);
    while (!work.empty()) {
        Node* n = work.back();
        work.pop_back();
        if (!n || !seen.insert(n).second) continue;
        out.push_back(n);
        work.push_back(n->next);
        for (int i = 0; i < n->kids.Length(); ++i) work.push_back(n->kids[i]);
    }
    return out;
}

void Mutate(Rng& rng) {
    std::vector<Node*> live = Reachable();
    Node* target = live.empty() ? nullptr : live[rng.Next(unsigned(live.size()))];
    Node* other = live.empty() ? nullptr : live[rng.Next(unsigned(live.size()))];
    switch (rng.Next(7)) {
        case 0: gc_assign(g_table[int(rng.Next(16))], new Node); break;
        case 1:
            if (target) {
                Node* fresh = new Node;
                gc_assign(fresh->next, other);
                gc_assign(target->next, fresh);
            }
            break;
        case 2:
            if (target) gc_assign(target->kids, Array<Node*>(int(rng.Next(4))));
            break;
        case 3:
            if (target && target->kids.Length()) {
                gc_assign(target->kids[int(rng.Next(unsigned(target->kids.Length())))], other);
            }
            break;
        case 4:
            if (target) gc_assign(target->next, static_cast<Node*>(nullptr));
            break;
        case 5: gc_assign(g_table[int(rng.Next(16))], other); break;
        default:
            if (target) gc_assign(g_head, target);
            break;
    }
}

TEST_F(CollectorTest, RandomMutationNeverLosesAReachableObject) {
    g_alive.clear();
    gc_root(g_table);
    gc_root(g_head);
    gc_assign(g_table, Array<Node*>(16));
    Rng rng;
    int fullCollections = 0;
    for (int call = 0; call < 3000; ++call) {
        for (int op = 0; op < 5; ++op) Mutate(rng);
        if (call % 3 == 0) gc_ext_malloced(1024 * 1024);
        int markbit = gc_markbit;
        gc_collect();
        if (markbit != gc_markbit) ++fullCollections;
        for (Node* n : Reachable()) {
            ASSERT_TRUE(g_alive[size_t(n->id)])
                << "node " << n->id << " destroyed while reachable, call " << call;
        }
    }
    EXPECT_GT(fullCollections, 100);
    size_t made = g_alive.size();
    EXPECT_GT(made, 3000u);

    g_table = Array<Node*>();
    g_head = nullptr;
    ReleaseEverything();
    for (size_t id = 0; id < made; ++id)
        EXPECT_FALSE(g_alive[id]) << "node " << id << " never destroyed";
}

}  // namespace
