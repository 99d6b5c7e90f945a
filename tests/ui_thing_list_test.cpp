// The thing list: lookup by name and id, killing, purging, the stable layer sort, broadcasts and
// the list's own destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {
namespace {

// A thing that records what happened to it in a shared journal.
class Probe : public CThing {
 public:
  Probe(std::vector<std::string>& journal, const char* label, int thingLayer = 10)
      : journal_(journal), label_(label) {
    SetName(label);
    layer = thingLayer;
  }
  ~Probe() override { journal_.push_back(label_ + ":deleted"); }
  void Update() override { journal_.push_back(label_ + ":update"); }
  void Draw() override { journal_.push_back(label_ + ":draw"); }
  void HandleInput(int type, const InputEvent*) override {
    journal_.push_back(label_ + ":input" + std::to_string(type));
  }
  void HandleMessage(const Message& m) override {
    journal_.push_back(label_ + ":msg" + std::to_string(m.type));
  }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
};

class ThingListTest : public testing::HeadlessFixture {
 public:
  ThingListTest() : HeadlessFixture(false) {}
  CThingList& List() { return *GetGlobals().things; }
  Probe* AddProbe(const char* label, int layer = 10) {
    auto* p = new Probe(journal_, label, layer);
    List().Add(p);
    return p;
  }

 protected:
  std::vector<std::string> journal_;
};

TEST_F(ThingListTest, IdsAreAssignedInOrderAndNamesAreCut) {
  Probe* a = AddProbe("a");
  Probe* b = AddProbe("b");
  EXPECT_EQ(a->id, 0);
  EXPECT_EQ(b->id, 1);
  EXPECT_EQ(List().FindById(1), b);
  EXPECT_EQ(List().FindById(7), nullptr);
  a->SetName("a-name-that-is-much-longer-than-thirty-one-characters");
  EXPECT_EQ(std::string(a->name).size(), 31u);
}

TEST_F(ThingListTest, DuplicateNamesFindTheFrontOneAndKillBoth) {
  Probe* first = AddProbe("twin");
  Probe* second = AddProbe("twin");
  EXPECT_EQ(List().FindByName("twin"), first);
  List().KillByName("twin");
  EXPECT_TRUE(first->dead);
  EXPECT_TRUE(second->dead);
  EXPECT_EQ(List().FindByName("twin"), nullptr);
  EXPECT_EQ(List().FindByName("Twin"), nullptr);  // names compare exactly
}

TEST_F(ThingListTest, ADeadThingIsInvisibleTheSameFrame) {
  Probe* doomed = AddProbe("doomed");
  AddProbe("alive");
  EXPECT_TRUE(List().KillById(doomed->id));
  EXPECT_EQ(List().FindById(doomed->id), nullptr);
  EXPECT_FALSE(List().KillById(doomed->id));
  List().UpdateAll();
  List().DrawAll();
  List().BroadcastInput(InputMouseDown, nullptr);
  GetGlobals().PostMessage(MsgAnimMode, 0, nullptr, 1);
  for (const std::string& entry : journal_) EXPECT_EQ(entry.rfind("doomed:", 0), std::string::npos) << entry;
  List().Purge();
  EXPECT_EQ(journal_.back(), "doomed:deleted");
  EXPECT_EQ(List().Count(), 1);
}

TEST_F(ThingListTest, KillByPointerOnlyForListedThings) {
  Probe* listed = AddProbe("listed");
  Probe outsider(journal_, "outsider");
  EXPECT_FALSE(List().KillByPointer(nullptr));
  EXPECT_FALSE(List().KillByPointer(&outsider));
  EXPECT_TRUE(List().KillByPointer(listed));
}

TEST_F(ThingListTest, SortIsStableByLayer) {
  AddProbe("c", 5);
  AddProbe("a", 1);
  AddProbe("d", 5);
  AddProbe("b", 1);
  List().SortByLayer();
  journal_.clear();
  List().DrawAll();
  EXPECT_EQ(journal_, (std::vector<std::string>{"a:draw", "b:draw", "c:draw", "d:draw"}));
}

TEST_F(ThingListTest, BroadcastsGoFromTheHighestLayerDown) {
  AddProbe("low", 1);
  AddProbe("high", 9);
  List().SortByLayer();
  journal_.clear();
  List().BroadcastInput(InputChar, nullptr);
  GetGlobals().PostMessage(MsgShowTip, 0, nullptr, 0);
  EXPECT_EQ(journal_, (std::vector<std::string>{"high:input8", "low:input8", "high:msg23", "low:msg23"}));
}

TEST_F(ThingListTest, ThingsAddedDuringAnUpdateAreReachedByThatPass) {
  class Spawner : public CThing {
   public:
    explicit Spawner(ThingListTest& t) : test_(t) {}
    void Update() override {
      if (!spawned_) {
        spawned_ = true;
        test_.AddProbe("child");
      }
    }

   private:
    ThingListTest& test_;
    bool spawned_ = false;
  };
  List().Add(new Spawner(*this));
  List().UpdateAll();
  EXPECT_EQ(journal_, (std::vector<std::string>{"child:update"}));
}

TEST_F(ThingListTest, ScreenMembersUnlinkThemselvesAndAreNeverDeletedByThePurge) {
  std::vector<std::string> local;
  {
    Probe member(local, "member");
    ASSERT_TRUE(member.AddToList(nullptr));
    EXPECT_FALSE(member.listOwned);
    EXPECT_EQ(List().FindByName("member"), &member);
    member.dead = true;  // not supposed to happen, but must not free a member of a screen
    List().Purge();
    EXPECT_EQ(List().Count(), 1);
  }
  EXPECT_EQ(List().Count(), 0);
  EXPECT_EQ(List().FindByName("member"), nullptr);
  List().Unlink(nullptr);
  EXPECT_TRUE(testing::SawLine(platform_, "Failed to find thing to delete by pointer"));
}

// Tries to kill things from its destructor, which runs while the list destroys itself.
class Killer : public CThing {
 public:
  Killer(int target, bool& byId, bool& byPointer) : target_(target), byId_(byId), byPointer_(byPointer) {}
  ~Killer() override {
    byId_ = GetGlobals().things->KillById(target_);
    byPointer_ = GetGlobals().things->KillByPointer(this);
  }

 private:
  int target_;
  bool& byId_;
  bool& byPointer_;
};

TEST_F(ThingListTest, KillCallsDuringTheListsDestructionChangeNothing) {
  bool byId = true;
  bool byPointer = true;
  Probe* other = AddProbe("other");
  List().Add(new Killer(other->id, byId, byPointer));
  AddProbe("last");
  delete GetGlobals().things;
  GetGlobals().things = new CThingList();
  EXPECT_FALSE(byId);
  EXPECT_FALSE(byPointer);
  EXPECT_NE(std::find(journal_.begin(), journal_.end(), "other:deleted"), journal_.end());
  EXPECT_NE(std::find(journal_.begin(), journal_.end(), "last:deleted"), journal_.end());
}

}  // namespace
}  // namespace spellcrypt
