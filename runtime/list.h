// Object lists: a doubly linked list of zero-filled records with one shared cursor,
// the current element. Where ListAdd inserts and where the cursor lands after
// ListDeleteCurrent decide which records a pass visits, so these semantics are part
// of the game's behaviour (a removal pass passes over the element that follows a
// deleted first element: intended).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

template <typename T>
struct ListElement {
    ListElement* next = nullptr;  // toward the last element
    ListElement* prev = nullptr;  // toward the first element
    T record{};                   // zero-filled at creation
};

template <typename T>
struct ObjectList {
    static_assert(std::is_trivially_copyable_v<T>, "records are plain structs");

    ListElement<T>* first = nullptr;
    ListElement<T>* last = nullptr;
    ListElement<T>* current = nullptr;  // shared by every user of the list

    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ObjectList(ObjectList&& o) noexcept : first(o.first), last(o.last), current(o.current) {
        o.first = o.last = o.current = nullptr;
    }
    ObjectList& operator=(ObjectList&& o) noexcept;
    ~ObjectList();
};

// Sets up an empty list without a current element; frees whatever it held.
template <typename T>
void ListInit(ObjectList<T>& list);

// A new zero-filled record: first in the list without a current element, otherwise
// right after it. It becomes current.
template <typename T>
T* ListAdd(ObjectList<T>& list) {
    auto* e = new ListElement<T>();
    if (list.current == nullptr) {
        e->next = list.first;
        if (list.first) list.first->prev = e;
        list.first = e;
        if (!list.last) list.last = e;
    } else {
        ListElement<T>* c = list.current;
        e->prev = c;
        e->next = c->next;
        if (c->next) c->next->prev = e; else list.last = e;
        c->next = e;
    }
    list.current = e;
    return &e->record;
}

// Removes the current element. The cursor moves to the element before it, or, for
// the first element, to the one after it (which a running pass then never visits).
template <typename T>
void ListDeleteCurrent(ObjectList<T>& list) {
    ListElement<T>* c = list.current;
    if (!c) return;
    if (c->prev) c->prev->next = c->next; else list.first = c->next;
    if (c->next) c->next->prev = c->prev; else list.last = c->prev;
    list.current = c->prev ? c->prev : c->next;
    delete c;
}

template <typename T>
void ListReset(ObjectList<T>& list) {
    list.current = nullptr;
}

// Moves to the next element; at the end it yields none and stays on the last one.
template <typename T>
T* ListNext(ObjectList<T>& list) {
    if (!list.current) {
        list.current = list.first;
        return list.current ? &list.current->record : nullptr;
    }
    if (!list.current->next) return nullptr;
    list.current = list.current->next;
    return &list.current->record;
}

template <typename T>
T* ListFirst(ObjectList<T>& list) {
    list.current = list.first;
    return list.current ? &list.current->record : nullptr;
}

template <typename T>
T* ListCurrent(const ObjectList<T>& list) {
    return list.current ? &list.current->record : nullptr;
}

template <typename T>
int32_t ListCount(const ObjectList<T>& list) {
    int32_t n = 0;
    for (auto* e = list.first; e; e = e->next) ++n;
    return n;
}

// A removal pass deleting everything, then one more delete for the element that the
// first deletion made current without visiting it.
template <typename T>
void ListClear(ObjectList<T>& list) {
    ListReset(list);
    while (ListNext(list)) ListDeleteCurrent(list);
    ListDeleteCurrent(list);
}

// The record must belong to this list; its element becomes current.
template <typename T>
void ListSetCurrent(ObjectList<T>& list, T* record) {
    if (!record) { list.current = nullptr; return; }
    // The record sits at a fixed offset inside its element, which never moves.
    auto* bytes = reinterpret_cast<unsigned char*>(record) - offsetof(ListElement<T>, record);
    list.current = std::launder(reinterpret_cast<ListElement<T>*>(bytes));
}

template <typename T>
void ListInit(ObjectList<T>& list) {
    ListClear(list);
    list.first = list.last = list.current = nullptr;
}

template <typename T>
ObjectList<T>& ObjectList<T>::operator=(ObjectList&& o) noexcept {
    if (this != &o) {
        ListInit(*this);
        first = o.first; last = o.last; current = o.current;
        o.first = o.last = o.current = nullptr;
    }
    return *this;
}

template <typename T>
ObjectList<T>::~ObjectList() {
    // Free without the cursor dance: order does not matter here.
    for (auto* e = first; e;) { auto* n = e->next; delete e; e = n; }
}
