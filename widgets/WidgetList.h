#pragma once

#include <cstdint>

class Widget;

// Every control in creation order, which is also the order of hit testing,
// drawing and release. The list owns its nodes, not the controls.
class WidgetList {
public:
    struct Node {
        Widget* widget;
        Node* next;
        Node* prev;
    };

    WidgetList() = default;
    WidgetList(const WidgetList&) = delete;
    WidgetList& operator=(const WidgetList&) = delete;
    ~WidgetList() { clear(); }

    // Null, leaving the list as it was, when no memory is left for the node.
    Node* append(Widget* widget);
    Node* remove(Node* node);
    int32_t recount();
    void clear();

    Node* head = nullptr;
    Node* tail = nullptr;
    int32_t count = 0;
};
