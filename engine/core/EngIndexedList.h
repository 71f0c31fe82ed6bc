// A growable array of data blocks addressed by index. Every entry holds a
// copy that the list owns; indexes stay valid until the list is emptied.
#pragma once

struct _EngIndexedListEntry {
    void *m_data;
    int m_size;
    // 1 when the list made the copy and frees it.
    char m_owned;
};

class EngIndexedList {
public:
    // The array grows by grow_by slots when full (0 or less means 64).
    explicit EngIndexedList(int grow_by = 0);
    ~EngIndexedList();
    EngIndexedList(const EngIndexedList &) = delete;
    EngIndexedList &operator=(const EngIndexedList &) = delete;

    // Appends a copy of size bytes; the new index, or -1.
    int AddEntry(const void *data, int size);
    int GetNumEntries() const;
    // The entry's data (still owned by the list) and its size through
    // size_out (optional); null and size 0 for a bad index.
    void *GetEntryData(int index, int *size_out) const;
    // Frees every entry and the array; always true.
    bool RemoveAllEntries();

private:
    int DoAdd(const void *data, int size);

    _EngIndexedListEntry **m_entries;
    int m_num_entries;
    int m_max_entries;
    int m_grow_by;
};
