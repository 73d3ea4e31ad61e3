#include <vector>

#include <gtest/gtest.h>

#include "objects/GameObject.h"
#include "objects/ObjectList.h"

namespace {

// Records its own deletion.
struct Probe : GameObject {
    Probe(int id, std::vector<int>* deleted) : id(id), deleted(deleted) {}
    ~Probe() override { deleted->push_back(id); }

    int id;
    std::vector<int>* deleted;
};

// The ids a pass visits; `during` may change the list while the pass is on each entry, and
// returns false to end the pass.
template <typename During>
std::vector<int> Pass(ObjectList& list, During during)
{
    std::vector<int> seen;
    list.ForEach([&](GameObject& o) {
        seen.push_back(static_cast<Probe&>(o).id);
        return during(static_cast<Probe&>(o));
    });
    return seen;
}

TEST(ObjectList, APassReachesWhatItAddsAndSurvivesWhatItRemoves)
{
    std::vector<int> deleted;
    std::vector<Probe*> probes;
    auto add = [&](ObjectList& list, int id) {
        probes.push_back(new Probe(id, &deleted));
        list.Append(probes.back());
    };
    {
        ObjectList list;
        for (int id = 1; id <= 4; id++)
            add(list, id);

        // While on 2: one more at the end. While on 3: remove the one before it, the one
        // after it and itself. While on 5, the last: remove it and append another.
        EXPECT_EQ(Pass(list,
                       [&](Probe& p) {
                           int id = p.id;  // p may be gone below
                           if (id == 2)
                               add(list, 5);
                           if (id == 3) {
                               list.Remove(probes[1]);
                               list.Remove(probes[3]);
                               list.Remove(&p);
                           }
                           if (id == 5) {
                               list.Remove(&p);
                               add(list, 6);
                           }
                           return true;
                       }),
                  (std::vector<int>{1, 2, 3, 5, 6}));
        EXPECT_EQ(deleted, (std::vector<int>{2, 4, 3, 5}));
        EXPECT_EQ(list.Count(), 2);

        // Outside a pass too; an object no longer listed is left alone.
        list.Remove(probes[0]);
        list.Remove(probes[0]);
        add(list, 7);
        EXPECT_EQ(Pass(list, [](Probe& p) { return p.id != 6; }), (std::vector<int>{6}));
        EXPECT_EQ(Pass(list, [](Probe&) { return true; }), (std::vector<int>{6, 7}));
        deleted.clear();
        list.Clear();
        EXPECT_EQ(deleted, (std::vector<int>{6, 7})) << "the list deletes what it holds, in order";
        add(list, 8);  // and starts again from empty
        EXPECT_EQ(Pass(list, [](Probe&) { return true; }), (std::vector<int>{8}));
    }
    EXPECT_EQ(deleted.back(), 8);
}

}  // namespace
