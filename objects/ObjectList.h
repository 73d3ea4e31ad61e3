#pragma once
// The owning list the game scene keeps its objects in: enemies with their bullets and effects
// in one, the heroine's shots in another. Entries appended while a pass runs are visited later
// in that same pass (a bullet fired by an enemy is drawn in the frame it was fired); an entry
// removed while a pass runs is deleted at once and its node unlinked when the pass ends, so a
// pass never steps onto freed memory.

#include <cstdint>

class GameObject;

class ObjectList {
public:
    ObjectList() = default;
    ~ObjectList();

    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;

    // Takes ownership.
    void Append(GameObject* object);
    // Deletes the object and drops its entry; an object not in the list is left alone.
    void Remove(GameObject* object);
    // Deletes every object, front to back.
    void Clear();
    int32_t Count() const { return count; }

    // Calls visit(GameObject&) for every live entry, front to back, including entries appended
    // during the pass. visit returns false to end the pass early.
    template <typename Visit>
    void ForEach(Visit&& visit);

private:
    // Two pointers, so that a node is one of the allocator's 16-byte blocks on a 64-bit build.
    struct Node {
        GameObject* object;  // null once removed during a pass
        Node* next;
    };

    void BeginPass() { passDepth++; }
    void EndPass();
    void Unlink(Node* previous, Node* node);

    Node* head = nullptr;
    Node* tail = nullptr;
    int32_t count = 0;
    int32_t passDepth = 0;
    bool hasRemovedNodes = false;
};

template <typename Visit>
void ObjectList::ForEach(Visit&& visit)
{
    BeginPass();
    for (Node* node = head; node; node = node->next) {
        if (node->object && !visit(*node->object))
            break;
    }
    EndPass();
}
