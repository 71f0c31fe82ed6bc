#include "engine/core/EngIndexedList.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"

#include <climits>
#include <cstring>

namespace {

const int DEFAULT_GROW_BY = 64;

// A slot array of count pointers, all null; null when count is not positive
// or its byte size does not fit the allocator's size type.
_EngIndexedListEntry **AllocSlots(long long count, const char *where)
{
    long long bytes = count * static_cast<long long>(sizeof(_EngIndexedListEntry *));
    if (count <= 0 || count > INT_MAX || bytes > UINT_MAX)
        return nullptr;
    return static_cast<_EngIndexedListEntry **>(EngMalloc(static_cast<unsigned>(bytes), where, 1));
}

} // namespace

EngIndexedList::EngIndexedList(int grow_by)
    : m_entries(nullptr), m_num_entries(0), m_max_entries(0),
      m_grow_by(grow_by > 0 ? grow_by : DEFAULT_GROW_BY)
{
}

EngIndexedList::~EngIndexedList()
{
    RemoveAllEntries();
}

int EngIndexedList::AddEntry(const void *data, int size)
{
    return DoAdd(data, size);
}

int EngIndexedList::DoAdd(const void *data, int size)
{
    const char *where = "EngIndexedList::DoAdd";
    if (size < 1) {
        DebugError(where, "Data size not ok");
        return -1;
    }
    if (!data) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    if (!m_entries) {
        m_entries = AllocSlots(m_grow_by, where);
        if (!m_entries) {
            DebugError(where, "No memory(1)");
            return -1;
        }
        m_max_entries = m_grow_by;
        m_num_entries = 0;
    }
    if (m_num_entries == m_max_entries) {
        // Grows by a fixed step; the old array stays when this fails.
        long long new_max = static_cast<long long>(m_max_entries) + m_grow_by;
        _EngIndexedListEntry **slots = AllocSlots(new_max, where);
        if (!slots) {
            DebugError(where, "No memory(2)");
            return -1;
        }
        std::memcpy(slots, m_entries, sizeof(*m_entries) * m_max_entries);
        EngFree(m_entries, 1, where);
        m_entries = slots;
        m_max_entries = static_cast<int>(new_max);
    }

    auto *entry = static_cast<_EngIndexedListEntry *>(EngMalloc(sizeof(_EngIndexedListEntry), where, 1));
    if (!entry) {
        DebugError(where, "No memory for element");
        return -1;
    }
    entry->m_data = EngMalloc(static_cast<unsigned>(size), where, 0);
    if (!entry->m_data) {
        DebugError(where, "No memory for element data");
        EngFree(entry, 1, where);
        return -1;
    }
    std::memcpy(entry->m_data, data, static_cast<size_t>(size));
    entry->m_size = size;
    entry->m_owned = 1;

    m_entries[m_num_entries] = entry;
    return m_num_entries++;
}

int EngIndexedList::GetNumEntries() const
{
    return m_entries ? m_num_entries : 0;
}

void *EngIndexedList::GetEntryData(int index, int *size_out) const
{
    const char *where = "EngIndexedList::GetEntryData";
    if (size_out)
        *size_out = 0;
    if (!m_entries || index < 0 || index >= m_num_entries) {
        DebugError(where, "Entry does not exist (%ld, %ld)", static_cast<long>(index), static_cast<long>(m_num_entries));
        return nullptr;
    }
    // Every slot below the count holds an entry with data: DoAdd stores
    // only complete entries.
    const _EngIndexedListEntry *entry = m_entries[index];
    if (size_out)
        *size_out = entry->m_size;
    return entry->m_data;
}

bool EngIndexedList::RemoveAllEntries()
{
    const char *where = "EngIndexedList::RemoveAllEntries";
    if (m_entries) {
        for (int i = 0; i < m_num_entries; i++) {
            _EngIndexedListEntry *entry = m_entries[i];
            if (!entry)
                continue;
            if (entry->m_data && entry->m_owned)
                EngFree(entry->m_data, 1, where);
            EngFree(entry, 1, where);
            m_entries[i] = nullptr;
        }
        EngFree(m_entries, 1, where);
    }
    m_entries = nullptr;
    m_num_entries = 0;
    m_max_entries = 0;
    return true;
}
