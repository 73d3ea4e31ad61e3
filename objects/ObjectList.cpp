#include "objects/ObjectList.h"

#include "objects/GameObject.h"

ObjectList::~ObjectList()
{
    Clear();
}

void ObjectList::Append(GameObject* object)
{
    Node* node = new Node{object, nullptr};
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
    count++;
}

void ObjectList::Remove(GameObject* object)
{
    Node* previous = nullptr;
    Node* node = head;
    while (node && node->object != object) {
        previous = node;
        node = node->next;
    }
    if (!node)
        return;

    delete object;
    count--;
    if (passDepth > 0) {
        // A pass may be standing on this node or about to step from it: leave the node in
        // place, empty, and unlink it when the pass is over.
        node->object = nullptr;
        hasRemovedNodes = true;
    } else {
        Unlink(previous, node);
    }
}

void ObjectList::Clear()
{
    while (head) {
        Node* node = head;
        head = node->next;
        delete node->object;
        delete node;
    }
    tail = nullptr;
    count = 0;
    hasRemovedNodes = false;
}

void ObjectList::EndPass()
{
    if (--passDepth > 0 || !hasRemovedNodes)
        return;

    Node* previous = nullptr;
    Node* node = head;
    while (node) {
        Node* next = node->next;
        if (node->object)
            previous = node;
        else
            Unlink(previous, node);
        node = next;
    }
    hasRemovedNodes = false;
}

void ObjectList::Unlink(Node* previous, Node* node)
{
    if (previous)
        previous->next = node->next;
    else
        head = node->next;
    if (tail == node)
        tail = previous;
    delete node;
}
