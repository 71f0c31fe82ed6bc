// A doubly linked list of data blocks with a current position and an
// optional fixed block size. Elements are appended at the tail and addressed
// by index (a walk from the head, so indexed loops are quadratic; the lists
// are short). Every block in the list is freed by the list, whether it was
// copied in or handed over.
#pragma once

struct _EngLinkedListElement {
    _EngLinkedListElement *m_prev;
    _EngLinkedListElement *m_next;
    void *m_data;
    int m_size;
    // 1 for a copy made by the list, 0 for a block handed over by the caller.
    char m_owned;
};

class EngLinkedList {
public:
    EngLinkedList();
    ~EngLinkedList();
    EngLinkedList(const EngLinkedList &) = delete;
    EngLinkedList &operator=(const EngLinkedList &) = delete;

    // Every later element must have exactly size bytes (0 = any size).
    void SetElementConstantSize(int size);
    // Appends a copy of size bytes; the new index, or -1.
    int AddElement(const void *data, int size, char make_current);
    // Appends the block *block (from EngMalloc), which belongs to the list
    // from then on; on failure it stays the caller's. The new index, or -1.
    int AddElementPointer(void **block, int size, char make_current);

    // The count, or 0 when the list is not sound.
    int GetNumElements();
    // The element's data when its size is expected_size, else null.
    void *GetElementData(int index, int expected_size);
    bool CopyElementData(int index, int size, void *destination);
    // Overwrites the element's data in place; the sizes must match.
    bool OverwriteData(int index, const void *source, int size);
    // True when some element holds the same size bytes; the first such
    // element's index goes to index_out (optional).
    bool DoesEntryDataExist(const void *data, int size, int *index_out);
    // On failure the current position stays as it was.
    bool SetCurrentPos(int position);
    bool IsListOk();
    // Frees every element and its data; the constant size stays.
    bool ReleaseAll();

private:
    int DoAdd(const void *data, void **block, int size, char make_current);
    // The list's invariants, checked without a report.
    bool IsSound() const;
    bool IsDataSizeOk(int size, const char *where);
    _EngLinkedListElement *GetElement(int index);
    // The element index steps from the head; null after "List problem".
    _EngLinkedListElement *WalkTo(int index);

    int m_num_elements;
    _EngLinkedListElement *m_head;
    _EngLinkedListElement *m_tail;
    _EngLinkedListElement *m_current;
    int m_current_index;
    int m_constant_size;
};
