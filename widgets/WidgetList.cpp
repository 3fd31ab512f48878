#include "WidgetList.h"

#include <new>

WidgetList::Node* WidgetList::append(Widget* widget) {
    Node* node = new (std::nothrow) Node{widget, nullptr, nullptr};
    if (!node) return nullptr;
    if (!head) {
        head = tail = node;
        node->prev = nullptr;
    } else {
        tail->next = node;
        node->prev = tail;
        tail = node;
    }
    ++count;
    return node;
}

WidgetList::Node* WidgetList::remove(Node* node) {
    if (!node) return nullptr;
    (node->prev ? node->prev->next : head) = node->next;
    (node->next ? node->next->prev : tail) = node->prev;
    Node* following = node->next;
    delete node;
    --count;
    return following;
}

int32_t WidgetList::recount() {
    int32_t n = 0;
    for (Node* node = head; node; node = node->next) ++n;
    count = n;
    return count;
}

void WidgetList::clear() {
    recount();
    while (count != 0) remove(head);
}
