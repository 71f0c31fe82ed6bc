#include "engine/core/EngLinkedList.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"

#include <cstring>

EngLinkedList::EngLinkedList()
    : m_num_elements(0), m_head(nullptr), m_tail(nullptr), m_current(nullptr),
      m_current_index(-1), m_constant_size(0)
{
}

EngLinkedList::~EngLinkedList()
{
    ReleaseAll();
    m_num_elements = 0;
    m_head = nullptr;
    m_tail = nullptr;
    m_current = nullptr;
    m_current_index = 0;
}

void EngLinkedList::SetElementConstantSize(int size)
{
    if (size < 0) {
        DebugError("EngLinkedList::SetElementConstantSize", "Invalid constant data size %lu",
                   static_cast<unsigned long>(size));
        size = 0;
    }
    m_constant_size = size;
}

bool EngLinkedList::IsSound() const
{
    if ((m_head == nullptr) != (m_tail == nullptr))
        return false;
    if ((m_head && m_head->m_prev) || (m_tail && m_tail->m_next))
        return false;
    if (m_num_elements == 0)
        return !m_head && !m_tail;
    if (m_num_elements < 0 || !m_head || !m_tail)
        return false;
    if (m_num_elements == 1 && m_head != m_tail)
        return false;
    if (m_num_elements >= 2 && (!m_head->m_next || !m_tail->m_prev))
        return false;
    return m_current && m_current_index >= 0 && m_current_index < m_num_elements;
}

bool EngLinkedList::IsListOk()
{
    if (IsSound())
        return true;
    DebugError("EngLinkedList::IsListOk", "List not ok");
    return false;
}

bool EngLinkedList::IsDataSizeOk(int size, const char *where)
{
    if (size <= 0) {
        DebugError(where, "Invalid data size %lu", static_cast<unsigned long>(size));
        return false;
    }
    if (m_constant_size && size != m_constant_size) {
        DebugError(where, "Data size is not constant data size (%lu != %lu)", static_cast<unsigned long>(size),
                   static_cast<unsigned long>(m_constant_size));
        return false;
    }
    return true;
}

int EngLinkedList::AddElement(const void *data, int size, char make_current)
{
    return DoAdd(data, nullptr, size, make_current);
}

int EngLinkedList::AddElementPointer(void **block, int size, char make_current)
{
    return DoAdd(nullptr, block, size, make_current);
}

int EngLinkedList::DoAdd(const void *data, void **block, int size, char make_current)
{
    const char *where = "EngLinkedList::DoAdd";
    if (!IsListOk() || !IsDataSizeOk(size, where))
        return -1;
    // Every element holds data from here on.
    if (block ? !*block : !data) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    auto *element = static_cast<_EngLinkedListElement *>(EngMalloc(sizeof(_EngLinkedListElement), where, 1));
    if (!element) {
        DebugError(where, "No memory for m_list entry");
        return -1;
    }
    if (block) {
        element->m_data = *block;
        element->m_owned = 0;
    } else if (data) {
        element->m_data = EngMalloc(static_cast<unsigned>(size), where, 0);
        if (!element->m_data) {
            DebugError(where, "No memory for element data");
            EngFree(element, 1, where);
            return -1;
        }
        std::memcpy(element->m_data, data, static_cast<size_t>(size));
        element->m_owned = 1;
    }
    element->m_size = size;

    if (!m_head) {
        m_head = element;
    } else {
        m_tail->m_next = element;
        element->m_prev = m_tail;
    }
    m_tail = element;
    m_num_elements++;

    if (!m_current) {
        m_current = m_head;
        m_current_index = 0;
    }
    if (make_current)
        SetCurrentPos(m_num_elements - 1);
    return m_num_elements - 1;
}

int EngLinkedList::GetNumElements()
{
    return IsListOk() ? m_num_elements : 0;
}

_EngLinkedListElement *EngLinkedList::WalkTo(int index)
{
    _EngLinkedListElement *element = m_head;
    for (int i = 0; i < index && element; i++)
        element = element->m_next;
    if (!element)
        DebugError("EngLinkedList::WalkTo", "List problem");
    return element;
}

_EngLinkedListElement *EngLinkedList::GetElement(int index)
{
    if (index < 0 || index >= m_num_elements) {
        DebugError("EngLinkedList::GetElement", "Bad index %ld [max = %ld]", static_cast<long>(index),
                   static_cast<long>(m_num_elements));
        return nullptr;
    }
    return WalkTo(index);
}

void *EngLinkedList::GetElementData(int index, int expected_size)
{
    const char *where = "EngLinkedList::GetElementData";
    if (!IsListOk())
        return nullptr;
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return nullptr;
    if (element->m_size != expected_size) {
        DebugError(where, "Data size of element %ld is not %ld", static_cast<long>(element->m_size),
                   static_cast<long>(expected_size));
        return nullptr;
    }
    return element->m_data;
}

bool EngLinkedList::CopyElementData(int index, int size, void *destination)
{
    const char *where = "EngLinkedList::CopyElementData";
    if (!IsListOk() || !IsDataSizeOk(size, where))
        return false;
    if (!destination) {
        DebugErrorCode(where, 'BAPA');
        return false;
    }
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return false;
    if (element->m_size != size) {
        DebugError(where, "Data size not ok");
        return false;
    }
    std::memcpy(destination, element->m_data, static_cast<size_t>(size));
    return true;
}

bool EngLinkedList::OverwriteData(int index, const void *source, int size)
{
    const char *where = "EngLinkedList::OverwriteData";
    if (!IsListOk() || !IsDataSizeOk(size, where))
        return false;
    if (!source) {
        DebugError(where, "No data passed in");
        return false;
    }
    _EngLinkedListElement *element = GetElement(index);
    if (!element)
        return false;
    if (element->m_size != size) {
        DebugError(where, "Size not ok (can be updated to re-alloc if desired)");
        return false;
    }
    std::memcpy(element->m_data, source, static_cast<size_t>(size));
    return true;
}

bool EngLinkedList::DoesEntryDataExist(const void *data, int size, int *index_out)
{
    const char *where = "EngLinkedList::DoesEntryDataExist";
    if (!IsDataSizeOk(size, where) || !data || !IsSound())
        return false;
    int index = 0;
    for (const _EngLinkedListElement *element = m_head; element; element = element->m_next, index++) {
        if (index >= m_num_elements) {
            DebugError(where, "Checked too many");
            return false;
        }
        if (element->m_size == size && std::memcmp(element->m_data, data, size) == 0) {
            if (index_out)
                *index_out = index;
            return true;
        }
    }
    return false;
}

bool EngLinkedList::SetCurrentPos(int position)
{
    if (!IsListOk())
        return false;
    if (position < 0 || position >= m_num_elements) {
        DebugError("EngLinkedList::SetCurrentPos", "Bad pos [max = %ld]", static_cast<long>(m_num_elements));
        return false;
    }
    _EngLinkedListElement *element = WalkTo(position);
    if (!element)
        return false;
    m_current = element;
    m_current_index = position;
    return true;
}

bool EngLinkedList::ReleaseAll()
{
    const char *where = "EngLinkedList::ReleaseAll";
    bool ok = IsListOk();
    if (ok && m_num_elements == 0)
        return true;
    // Frees along the links even when the list is not sound, so nothing the
    // list holds is lost.
    int freed = 0;
    _EngLinkedListElement *element = m_head;
    while (element) {
        _EngLinkedListElement *next = element->m_next;
        EngFree(element->m_data, 1, where);
        EngFree(element, 1, where);
        freed++;
        element = next;
    }
    if (freed > m_num_elements) {
        DebugError(where, "Freed too many");
        ok = false;
    }
    m_num_elements = 0;
    m_head = nullptr;
    m_tail = nullptr;
    m_current = nullptr;
    m_current_index = -1;
    return ok;
}
