// An ordered map kept as a red-black tree.
#pragma once

#include "framework/barrier.h"

template <class K, class V>
class c_Node : public Object {
public:
    static constexpr int kRed = -1;
    static constexpr int kBlack = 1;

    K m_key{};
    c_Node* m_right = nullptr;
    c_Node* m_left = nullptr;
    V m_value{};
    int m_color = kRed;
    c_Node* m_parent = nullptr;

    c_Node* m_new(K key, V value, int color, c_Node* parent) {
        m_key = key;
        qv_store(m_value, value);
        m_color = color;
        gc_assign(m_parent, parent);
        return this;
    }
    void mark() override {
        gc_mark_q(m_right);
        gc_mark_q(m_left);
        qv_mark_value(m_value);
        gc_mark_q(m_parent);
    }
};

template <class K, class V>
class c_Map : public Object {
public:
    using Node = c_Node<K, V>;
    Node* m_root = nullptr;

    c_Map* m_new() { return this; }
    virtual int p_Compare(K a, K b) = 0;

    Node* p_FindNode(K key) {
        Node* node = m_root;
        while (node) {
            int cmp = p_Compare(key, node->m_key);
            if (cmp > 0) {
                node = node->m_right;
            } else if (cmp < 0) {
                node = node->m_left;
            } else {
                return node;
            }
        }
        return nullptr;
    }
    bool p_Contains(K key) { return p_FindNode(key) != nullptr; }
    // The value under `key`, or the empty value when absent.
    V p_Get(K key) {
        Node* node = p_FindNode(key);
        return node ? node->m_value : V{};
    }
    // True when the key was new; an existing key gets the new value and gives false.
    bool p_Set(K key, V value) {
        Node* node = m_root;
        Node* parent = nullptr;
        int cmp = 0;
        while (node) {
            parent = node;
            cmp = p_Compare(key, node->m_key);
            if (cmp > 0) {
                node = node->m_right;
            } else if (cmp < 0) {
                node = node->m_left;
            } else {
                qv_store(node->m_value, value);
                return false;
            }
        }
        node = (new Node)->m_new(key, value, Node::kRed, parent);
        if (!parent) {
            gc_assign(m_root, node);
        } else if (cmp > 0) {
            gc_assign(parent->m_right, node);
        } else {
            gc_assign(parent->m_left, node);
        }
        p_InsertFixup(node);
        return true;
    }
    bool p_Insert(K key, V value) { return p_Set(key, value); }
    void mark() override { gc_mark_q(m_root); }

protected:
    void p_InsertFixup(Node* node) {
        while (node->m_parent && node->m_parent->m_color == Node::kRed &&
               node->m_parent->m_parent) {
            Node* parent = node->m_parent;
            Node* grand = parent->m_parent;
            bool parentIsLeft = parent == grand->m_left;
            Node* uncle = parentIsLeft ? grand->m_right : grand->m_left;
            if (uncle && uncle->m_color == Node::kRed) {
                parent->m_color = Node::kBlack;
                uncle->m_color = Node::kBlack;
                grand->m_color = Node::kRed;
                node = grand;
                continue;
            }
            if (parentIsLeft) {
                if (node == parent->m_right) {
                    node = parent;
                    p_RotateLeft(node);
                }
                node->m_parent->m_color = Node::kBlack;
                node->m_parent->m_parent->m_color = Node::kRed;
                p_RotateRight(node->m_parent->m_parent);
            } else {
                if (node == parent->m_left) {
                    node = parent;
                    p_RotateRight(node);
                }
                node->m_parent->m_color = Node::kBlack;
                node->m_parent->m_parent->m_color = Node::kRed;
                p_RotateLeft(node->m_parent->m_parent);
            }
        }
        m_root->m_color = Node::kBlack;
    }
    void p_RotateLeft(Node* node) {
        Node* child = node->m_right;
        gc_assign(node->m_right, child->m_left);
        if (child->m_left) gc_assign(child->m_left->m_parent, node);
        ReplaceChild(node, child);
        gc_assign(child->m_left, node);
        gc_assign(node->m_parent, child);
    }
    void p_RotateRight(Node* node) {
        Node* child = node->m_left;
        gc_assign(node->m_left, child->m_right);
        if (child->m_right) gc_assign(child->m_right->m_parent, node);
        ReplaceChild(node, child);
        gc_assign(child->m_right, node);
        gc_assign(node->m_parent, child);
    }

private:
    // Puts `child` where `node` hangs from its parent (or at the root).
    void ReplaceChild(Node* node, Node* child) {
        Node* parent = node->m_parent;
        gc_assign(child->m_parent, parent);
        if (!parent) {
            gc_assign(m_root, child);
        } else if (node == parent->m_left) {
            gc_assign(parent->m_left, child);
        } else {
            gc_assign(parent->m_right, child);
        }
    }
};

template <class V>
class c_IntMap : public c_Map<int, V> {
public:
    c_IntMap* m_new() { return this; }
    int p_Compare(int a, int b) override { return a - b; }
};
