// The handle owners: every value is closed exactly once, by whoever holds it last.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "win32/handles.h"

namespace pravik::win32 {
namespace {

std::vector<int> g_closed;

struct CountedTraits {
  using Type = int;
  static Type Invalid() noexcept { return 0; }
  static void Close(Type h) noexcept { g_closed.push_back(h); }
};
using Counted = UniqueHandle<CountedTraits>;

TEST(HandleOwner, MovesCloseEachValueOnceByItsLastHolder) {
  g_closed.clear();
  {
    Counted first(1);
    Counted second(std::move(first));
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(second.get(), 1);

    Counted third(3);
    third = std::move(second);  // 3 goes now, 1 changes hands
    EXPECT_EQ(g_closed, std::vector<int>{3});
    EXPECT_EQ(third.get(), 1);

    auto& alias = third;
    third = std::move(alias);  // moving onto itself keeps the value open
    EXPECT_EQ(third.get(), 1);
    EXPECT_EQ(g_closed, std::vector<int>{3});
  }
  EXPECT_EQ(g_closed, (std::vector<int>{3, 1}));
}

TEST(HandleOwner, ReleaseResetAndPut) {
  g_closed.clear();
  {
    Counted owner(5);
    EXPECT_EQ(owner.release(), 5);  // the caller owns it now
    EXPECT_FALSE(owner);

    owner.reset(6);
    owner.reset(7);
    EXPECT_EQ(g_closed, std::vector<int>{6});

    // An out-parameter slot: the old value goes first, the new one is owned.
    int* slot = owner.put();
    EXPECT_EQ(g_closed, (std::vector<int>{6, 7}));
    EXPECT_EQ(*slot, 0);
    *slot = 8;
  }
  EXPECT_EQ(g_closed, (std::vector<int>{6, 7, 8}));
}

TEST(HandleOwner, AMovedKernelHandleStaysOpenUntilItsNewOwnerGoes) {
  HANDLE raw = nullptr;
  {
    Handle moved;
    {
      Handle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
      ASSERT_TRUE(event);
      raw = event.get();
      moved = std::move(event);
    }
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    EXPECT_TRUE(::SetEvent(moved.get()));
  }
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

}  // namespace
}  // namespace pravik::win32
