#include <vector>

#include <gtest/gtest.h>

#include "app/SmallBlockPool.h"
#include "objects/GameObject.h"
#include "objects/ObjectList.h"

namespace {

// Records its own deletion, and can add or remove entries of its list when updated.
struct Probe : GameObject {
    explicit Probe(int id, std::vector<int>* deleted) : id(id), deleted(deleted) {}
    ~Probe() override { deleted->push_back(id); }

    int id;
    std::vector<int>* deleted;
};

std::vector<int> Visit(ObjectList& list)
{
    std::vector<int> ids;
    list.ForEach([&](GameObject& o) {
        ids.push_back(static_cast<Probe&>(o).id);
        return true;
    });
    return ids;
}

TEST(ObjectList, EntriesAddedDuringAPassAreVisitedInThatPass)
{
    std::vector<int> deleted;
    ObjectList list;
    list.Append(new Probe(1, &deleted));
    list.Append(new Probe(2, &deleted));

    std::vector<int> seen;
    list.ForEach([&](GameObject& o) {
        int id = static_cast<Probe&>(o).id;
        seen.push_back(id);
        if (id < 3)  // each of the first two fires one more
            list.Append(new Probe(id + 2, &deleted));
        return true;
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Count(), 4);
}

TEST(ObjectList, RemovingDuringAPassIsSafeAndDeletesOnce)
{
    std::vector<int> deleted;
    ObjectList list;
    std::vector<Probe*> probes;
    for (int id = 1; id <= 6; id++) {
        probes.push_back(new Probe(id, &deleted));
        list.Append(probes.back());
    }

    // While visiting 3: remove itself, the one before it and the one after it; the pass goes
    // on with 5, and the list's last entry can still be removed and appended after.
    std::vector<int> seen;
    list.ForEach([&](GameObject& o) {
        int id = static_cast<Probe&>(o).id;
        seen.push_back(id);
        if (id == 3) {
            list.Remove(probes[1]);
            list.Remove(probes[3]);
            list.Remove(&o);
            EXPECT_EQ(list.Count(), 3);
        }
        if (id == 6) {
            list.Remove(&o);
            list.Append(new Probe(7, &deleted));
        }
        return true;
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(deleted, (std::vector<int>{2, 4, 3, 6}));
    EXPECT_EQ(Visit(list), (std::vector<int>{1, 5, 7}));

    // Outside a pass too; appending after that still reaches the end.
    list.Remove(probes[0]);
    list.Append(new Probe(8, &deleted));
    EXPECT_EQ(Visit(list), (std::vector<int>{5, 7, 8}));

    deleted.clear();
    list.Clear();
    EXPECT_EQ(deleted, (std::vector<int>{5, 7, 8}));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(Visit(list).empty());
}

TEST(ObjectList, APassCanEndEarly)
{
    std::vector<int> deleted;
    ObjectList list;
    for (int id = 1; id <= 4; id++)
        list.Append(new Probe(id, &deleted));
    std::vector<int> seen;
    list.ForEach([&](GameObject& o) {
        seen.push_back(static_cast<Probe&>(o).id);
        return seen.size() < 2;
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

TEST(ObjectList, DestroyingTheListDeletesEveryObjectFrontToBack)
{
    std::vector<int> deleted;
    {
        ObjectList list;
        for (int id = 1; id <= 3; id++)
            list.Append(new Probe(id, &deleted));
    }
    EXPECT_EQ(deleted, (std::vector<int>{1, 2, 3}));
}

TEST(ObjectList, NodesAreSmallBlocksOfThePool)
{
    std::vector<int> deleted;
    ObjectList list;
    list.Append(new Probe(0, &deleted));  // the pool is ready from here on
    int freeBefore = smallBlockPool.FreeCount();
    for (int id = 1; id <= 10; id++)
        list.Append(new Probe(id, &deleted));
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore - 10);
    list.Clear();
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore + 1);
}

}  // namespace
