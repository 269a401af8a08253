#include "platform/component.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/errors.h"

using namespace Platform;

namespace {

// Records its own destruction.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>* log, std::string id)
      : TComponent(owner), FLog(log), FId(std::move(id)) {}
  ~TProbe() override { FLog->push_back(FId); }
  std::string ClassName() const override { return "TProbe"; }

 private:
  std::vector<std::string>* FLog;
  std::string FId;
};

class TPoint3 : public TPersistent {
 public:
  double x = 0;
  std::string ClassName() const override { return "TPoint3"; }
  void Assign(const TPersistent* Source) override {
    if (auto* p = dynamic_cast<const TPoint3*>(Source)) {
      x = p->x;
      return;
    }
    TPersistent::Assign(Source);
  }
};

class TLabel : public TPersistent {
 public:
  std::string ClassName() const override { return "TLabel"; }
  std::string text;

 protected:
  // A label knows how to copy itself into a point (its length).
  void AssignTo(TPersistent* Dest) const override {
    if (auto* p = dynamic_cast<TPoint3*>(Dest)) {
      p->x = static_cast<double>(text.size());
      return;
    }
    TPersistent::AssignTo(Dest);
  }
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwns) {
  std::vector<std::string> log;
  auto* owner = new TProbe(nullptr, &log, "owner");
  auto* a = new TProbe(owner, &log, "a");
  new TProbe(owner, &log, "b");
  new TProbe(a, &log, "a.child");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(a->Owner(), owner);
  delete owner;
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "owner");  // its own destructor body runs first
  EXPECT_EQ(log[1], "b");
  EXPECT_EQ(log[2], "a");
  EXPECT_EQ(log[3], "a.child");
}

TEST(Component, FreedFirstLeavesItsOwner) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* a = new TProbe(&owner, &log, "a");
  auto* b = new TProbe(&owner, &log, "b");
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_THROW(owner.Components(1), std::out_of_range);
}

TEST(Component, MovingToAnotherOwner) {
  TComponent first(nullptr), second(nullptr);
  auto* c = new TComponent(&first);
  second.InsertComponent(c);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.ComponentCount(), 1);
  EXPECT_EQ(c->Owner(), &second);
  second.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  delete c;
}

TEST(Component, NameAndState) {
  TComponent c(nullptr);
  EXPECT_EQ(c.Name(), "");
  c.SetName("GeoDB1");
  EXPECT_EQ(c.Name(), "GeoDB1");
  EXPECT_EQ(c.ComponentState(), 0);
  c.SetDesigning(true);
  c.SetLoading(true);
  EXPECT_TRUE(c.IsDesigning());
  EXPECT_TRUE(c.IsLoading());
  EXPECT_EQ(c.ComponentState(), csDesigning | csLoading);
  c.Loaded();
  EXPECT_FALSE(c.IsLoading());
  EXPECT_TRUE(c.IsDesigning());
  c.SetDesigning(false);
  EXPECT_EQ(c.ComponentState(), 0);
}

TEST(Persistent, AssignBothWays) {
  TPoint3 a, b;
  a.x = 2.5;
  b.Assign(&a);
  EXPECT_EQ(b.x, 2.5);
  TLabel l;
  l.text = "four";
  b.Assign(&l);  // the point does not know labels; the label knows points
  EXPECT_EQ(b.x, 4);
}

TEST(Persistent, AssignmentErrors) {
  TPoint3 p;
  TLabel l;
  try {
    l.Assign(&p);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TPoint3 to a TLabel");
  }
  try {
    p.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a nil to a TPoint3");
  }
  TComponent c1(nullptr), c2(nullptr);
  EXPECT_THROW(c1.Assign(&c2), EConvertError);
}
