#include "velk/object.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct IShape : IObject {
  static constexpr iid_t IID = 0x1000;
  virtual int corners() = 0;
};
struct ISquare : IShape {
  static constexpr iid_t IID = 0x1001;
  using Parent = IShape;
};
struct IColour : IObject {
  static constexpr iid_t IID = 0x2000;
};

class Square : public ObjectBase<ISquare, IColour> {
 public:
  int corners() override { return 4; }
};

TEST(ObjectModel, QueryInterfaceAnswersOwnAndBaseIdentifiers) {
  auto square = make<Square>();
  for (iid_t iid : {iid_t(0), IShape::IID, ISquare::IID, IColour::IID}) {
    void* out = nullptr;
    EXPECT_EQ(square->QueryInterface(iid, &out), errors::kOk) << iid;
    ASSERT_NE(out, nullptr);
    static_cast<IObject*>(static_cast<IShape*>(square.get()))->Release();
  }
  EXPECT_EQ(queryInterface<IShape>(square.get())->corners(), 4);
}

TEST(ObjectModel, UnknownInterfaceLeavesOutEmpty) {
  auto square = make<Square>();
  void* out = square.get();
  EXPECT_EQ(square->QueryInterface(0x3000, &out), code(0x80000001));
  EXPECT_EQ(out, nullptr);
}

TEST(ObjectModel, ReferenceCountsAndLiveObjects) {
  int32_t before = liveObjectCount();
  {
    auto square = make<Square>();
    EXPECT_EQ(liveObjectCount(), before + 1);
    EXPECT_EQ(square->AddRef(), 2u);
    EXPECT_EQ(square->Release(), 1u);
    Ref<IColour> colour = queryInterface<IColour>(square.get());
    Ref<Square> copy = square;
    square.reset();
    EXPECT_EQ(liveObjectCount(), before + 1);
  }
  EXPECT_EQ(liveObjectCount(), before);
}

TEST(ObjectModel, AdoptTakesOverAnOutReference) {
  int32_t before = liveObjectCount();
  {
    Square* raw = new Square;
    raw->AddRef();
    auto held = Ref<Square>::adopt(raw);
    EXPECT_EQ(held->AddRef(), 2u);
    held->Release();
  }
  EXPECT_EQ(liveObjectCount(), before);
}

}  // namespace
}  // namespace velk
