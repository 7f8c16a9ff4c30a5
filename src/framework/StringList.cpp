// CStringList: adding, walking and emptying the list.
#include "framework/StringList.h"

POSITION CStringList::AddHead(const std::string& text)
{
    auto* node = new StringListNode{text, m_head, nullptr};
    if (m_head)
        m_head->prev = node;
    else
        m_tail = node;
    m_head = node;
    ++m_count;
    return node;
}

POSITION CStringList::AddTail(const std::string& text)
{
    auto* node = new StringListNode{text, nullptr, m_tail};
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    return node;
}

void CStringList::AddTail(const CStringList& other)
{
    if (&other == this) {
        int count = m_count;
        POSITION pos = m_head;
        for (int i = 0; i < count; ++i)
            AddTail(GetNext(pos));
        return;
    }
    for (POSITION pos = other.GetHeadPosition(); pos;)
        AddTail(other.GetNext(pos));
}

void CStringList::RemoveAll()
{
    for (StringListNode* node = m_head; node;) {
        StringListNode* next = node->next;
        delete node;
        node = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
    ++m_generation;
}

const std::string& CStringList::GetNext(POSITION& pos) const
{
    StringListNode* node = pos;
    pos = node->next;
    return node->text;
}

const std::string& CStringList::GetPrev(POSITION& pos) const
{
    StringListNode* node = pos;
    pos = node->prev;
    return node->text;
}

const std::string& CStringList::GetAt(POSITION pos) const { return pos->text; }

std::string& CStringList::GetHead() const { return m_head->text; }
