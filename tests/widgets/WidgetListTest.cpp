// The list that holds the controls in creation order.
#include <gtest/gtest.h>

#include "ProgramHarness.h"
#include "res/resource.h"
#include "widgets/PushButton.h"
#include "widgets/WidgetList.h"

namespace {

class WidgetListTest : public ::testing::Test {
protected:
    void SetUp() override { ProgramHarness fresh; }
    PushButton make() { return PushButton(GetModuleHandleA(nullptr), IDB_STOP, IDB_STOP_PRESSED, Rect{0, 0, 11, 11}); }

    // The widgets from head to tail, checking the back links on the way.
    std::vector<Widget*> walk(const WidgetList& list) {
        std::vector<Widget*> order;
        const WidgetList::Node* previous = nullptr;
        for (const WidgetList::Node* node = list.head; node; node = node->next) {
            EXPECT_EQ(node->prev, previous);
            order.push_back(node->widget);
            previous = node;
        }
        EXPECT_EQ(list.tail, previous);
        return order;
    }
};

TEST_F(WidgetListTest, AppendKeepsCreationOrder) {
    PushButton a = make(), b = make(), c = make();
    WidgetList list;
    list.append(&a);
    list.append(&b);
    list.append(&c);
    EXPECT_EQ(walk(list), (std::vector<Widget*>{&a, &b, &c}));
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.recount(), 3);
}

TEST_F(WidgetListTest, RemoveUnlinksHeadMiddleTailAndReturnsTheFollower) {
    PushButton a = make(), b = make(), c = make(), d = make();
    WidgetList list;
    WidgetList::Node* na = list.append(&a);
    WidgetList::Node* nb = list.append(&b);
    WidgetList::Node* nc = list.append(&c);
    WidgetList::Node* nd = list.append(&d);
    EXPECT_EQ(list.remove(nb), nc);
    EXPECT_EQ(walk(list), (std::vector<Widget*>{&a, &c, &d}));
    EXPECT_EQ(list.remove(na), nc) << "removing the head";
    EXPECT_EQ(list.head, nc);
    EXPECT_EQ(nc->prev, nullptr);
    EXPECT_EQ(list.remove(nd), nullptr) << "removing the tail";
    EXPECT_EQ(walk(list), (std::vector<Widget*>{&c}));
    EXPECT_EQ(list.count, 1);
}

TEST_F(WidgetListTest, RemovingTheOnlyNodeEmptiesTheList) {
    PushButton a = make();
    WidgetList list;
    EXPECT_EQ(list.remove(list.append(&a)), nullptr);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
}

TEST_F(WidgetListTest, RemoveOfNullChangesNothing) {
    PushButton a = make();
    WidgetList list;
    list.append(&a);
    EXPECT_EQ(list.remove(nullptr), nullptr);
    EXPECT_EQ(list.count, 1);
}

TEST_F(WidgetListTest, ClearEmptiesAnyListAndLeavesAnEmptyOneAlone) {
    WidgetList empty;
    empty.clear();
    EXPECT_EQ(empty.head, nullptr);
    EXPECT_EQ(empty.count, 0);

    PushButton a = make(), b = make();
    WidgetList list;
    list.append(&a);
    list.append(&b);
    list.count = 7;  // clear counts the nodes itself before removing them
    list.clear();
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
    EXPECT_FALSE(a.isPressed()) << "the widgets themselves are untouched";
}

}  // namespace
