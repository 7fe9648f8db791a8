#include <gtest/gtest.h>

#include <vector>

#include "runtime/list.h"

namespace {

struct Rec {
    int32_t id;
    int32_t flag;
};

// Builds a list holding the given ids in order, cursor left as a pass leaves it.
void Fill(ObjectList<Rec>& list, std::initializer_list<int32_t> ids) {
    for (int32_t id : ids) ListAdd(list)->id = id;
}

std::vector<int32_t> Ids(const ObjectList<Rec>& list) {
    std::vector<int32_t> out;
    for (auto* e = list.first; e; e = e->next) out.push_back(e->record.id);
    return out;
}

// Removal pass as the game writes it; returns the ids it visited.
std::vector<int32_t> RemovalPass(ObjectList<Rec>& list, bool (*condition)(const Rec&)) {
    std::vector<int32_t> visited;
    ListReset(list);
    while (Rec* r = ListNext(list)) {
        visited.push_back(r->id);
        if (condition(*r)) ListDeleteCurrent(list);
    }
    return visited;
}

TEST(ObjectList, EmptyListHasNoCurrentAndNothingToVisit) {
    ObjectList<Rec> list;
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(list.current, nullptr);
    ListDeleteCurrent(list);  // no current element: nothing happens
    EXPECT_EQ(ListCount(list), 0);
    EXPECT_EQ(ListFirst(list), nullptr);
    EXPECT_EQ(list.current, nullptr);
}

TEST(ObjectList, AddedRecordsAreZeroFilledAndBecomeCurrent) {
    ObjectList<Rec> list;
    Rec* a = ListAdd(list);
    EXPECT_EQ(a->id, 0);
    EXPECT_EQ(a->flag, 0);
    EXPECT_EQ(ListCurrent(list), a);
    a->id = 7;
    ListDeleteCurrent(list);
    Rec* b = ListAdd(list);  // fresh memory or reused: zero either way
    EXPECT_EQ(b->id, 0);
}

TEST(ObjectList, AddAppendsAfterAPassAndPrependsAfterReset) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 2, 3}));
    ListReset(list);
    ListAdd(list)->id = 0;  // no current element: in front of the first
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{0, 1, 2, 3}));
    // A visiting pass leaves the cursor on the last element, so an add appends.
    ListReset(list);
    while (ListNext(list)) {}
    EXPECT_EQ(ListCurrent(list)->id, 3);
    ListAdd(list)->id = 4;
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    // And in the middle: right after the current element.
    ListFirst(list);
    ListNext(list);
    ListAdd(list)->id = 9;
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{0, 1, 9, 2, 3, 4}));
}

TEST(ObjectList, NextStaysOnLastAtTheEnd) {
    ObjectList<Rec> list;
    Fill(list, {1, 2});
    ListReset(list);
    EXPECT_EQ(ListNext(list)->id, 1);
    EXPECT_EQ(ListNext(list)->id, 2);
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(ListCurrent(list)->id, 2);
    EXPECT_EQ(ListNext(list), nullptr);
}

TEST(ObjectList, RemovalPassPassesOverTheElementAfterADeletedFirst) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    // Condition holds for A and B: only A and C are visited; B survives this pass.
    auto visited = RemovalPass(list, [](const Rec& r) { return r.id == 1 || r.id == 2; });
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{2, 3}));
    // The next pass deletes B (now the first element) and so passes over C.
    visited = RemovalPass(list, [](const Rec& r) { return r.id == 1 || r.id == 2; });
    EXPECT_EQ(visited, (std::vector<int32_t>{2}));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{3}));
}

TEST(ObjectList, RemovalPassDeletingLaterElementsVisitsAll) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    auto visited = RemovalPass(list, [](const Rec& r) { return r.id != 1; });
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1}));
    EXPECT_EQ(ListCurrent(list)->id, 1);
    ListAdd(list)->id = 4;  // appends after A
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 4}));
}

TEST(ObjectList, DeletingTheOnlyElementLeavesNoCurrent) {
    ObjectList<Rec> list;
    Fill(list, {1});
    ListFirst(list);
    ListDeleteCurrent(list);
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
}

TEST(ObjectList, DeletingInTheMiddleMovesCursorBack) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    ListFirst(list);
    ListNext(list);
    ListDeleteCurrent(list);
    EXPECT_EQ(ListCurrent(list)->id, 1);
    ListFirst(list);
    ListNext(list);  // on 3, the last
    ListDeleteCurrent(list);
    EXPECT_EQ(ListCurrent(list)->id, 1);
    EXPECT_EQ(list.last, list.first);
}

TEST(ObjectList, ClearEmptiesListsOfEverySize) {
    for (int n : {0, 1, 2, 3, 5}) {
        ObjectList<Rec> list;
        for (int i = 0; i < n; ++i) ListAdd(list)->id = i;
        ListClear(list);
        EXPECT_EQ(ListCount(list), 0) << n;
        EXPECT_EQ(list.first, nullptr) << n;
        EXPECT_EQ(list.last, nullptr) << n;
        EXPECT_EQ(list.current, nullptr) << n;
    }
}

TEST(ObjectList, NestedPassRestoresTheOuterCursor) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    std::vector<int32_t> outer;
    int inner = 0;
    ListReset(list);
    while (Rec* r = ListNext(list)) {
        outer.push_back(r->id);
        Rec* saved = ListCurrent(list);
        ListReset(list);
        while (ListNext(list)) ++inner;
        ListSetCurrent(list, saved);
    }
    EXPECT_EQ(outer, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(inner, 9);
}

TEST(ObjectList, CountDoesNotMoveTheCursor) {
    ObjectList<Rec> list;
    Fill(list, {1, 2, 3});
    ListFirst(list);
    EXPECT_EQ(ListCount(list), 3);
    EXPECT_EQ(ListCurrent(list)->id, 1);
}

}  // namespace
