// CStringList: a doubly linked list of narrow strings walked by positions.
#pragma once

#include <cstddef>
#include <string>

struct StringListNode;
using POSITION = StringListNode*;

class CStringList {
public:
    explicit CStringList(int blockSize = 10) : m_blockSize(blockSize) {}
    ~CStringList() { RemoveAll(); }
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    int GetBlockSize() const { return m_blockSize; }

    POSITION AddHead(const std::string& text);
    POSITION AddTail(const std::string& text);
    void AddTail(const CStringList& other);  // appends a copy of every entry, in order
    void RemoveAll();

    POSITION GetHeadPosition() const { return m_head; }
    POSITION GetTailPosition() const { return m_tail; }
    // Returns the entry at pos and moves pos to the next (or previous) entry, null past the end.
    const std::string& GetNext(POSITION& pos) const;
    const std::string& GetPrev(POSITION& pos) const;
    const std::string& GetAt(POSITION pos) const;
    std::string& GetHead() const;

    // Changes whenever entries are removed, so that a kept position can be recognised as stale.
    unsigned GetGeneration() const { return m_generation; }

private:
    StringListNode* m_head = nullptr;
    StringListNode* m_tail = nullptr;
    int m_count = 0;
    int m_blockSize;
    unsigned m_generation = 0;
};

struct StringListNode {
    std::string text;
    StringListNode* next = nullptr;
    StringListNode* prev = nullptr;
};
