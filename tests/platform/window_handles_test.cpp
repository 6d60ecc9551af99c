// Window handles as hosts hand them to the library: parents up to the desktop, titles, and
// handles that name no window.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/window_handles.h"

namespace grx::platform {
namespace {

TEST(WindowHandlesTest, TopLevelWindowsHaveNoParent) {
  const WindowHandle frame = CreateWindowHandle("Chart editor - [Axis1]");
  const WindowHandle view = CreateWindowHandle("Axis1", frame);
  const WindowHandle onDesktop = CreateWindowHandle("tip", DesktopWindow());
  EXPECT_TRUE(IsWindowHandle(frame));
  EXPECT_EQ(ParentWindow(view), frame);
  EXPECT_EQ(ParentWindow(frame), kNoWindow);
  EXPECT_EQ(ParentWindow(onDesktop), DesktopWindow());
  EXPECT_EQ(ParentWindow(DesktopWindow()), kNoWindow);
  EXPECT_TRUE(IsWindowHandle(DesktopWindow()));
  EXPECT_NE(frame, view);
  for (WindowHandle w : {onDesktop, view, frame}) DestroyWindowHandle(w);
}

TEST(WindowHandlesTest, TitlesAreCutAndGoneWindowsAnswerNothing) {
  const WindowHandle w = CreateWindowHandle("Chart editor");
  EXPECT_EQ(WindowTitle(w), "Chart editor");
  EXPECT_EQ(WindowTitle(w, 5), "Chart");
  EXPECT_EQ(WindowTitle(DesktopWindow()), "");
  DestroyWindowHandle(w);
  EXPECT_FALSE(IsWindowHandle(w));
  EXPECT_EQ(WindowTitle(w), std::nullopt);
  EXPECT_EQ(ParentWindow(w), kNoWindow);
  EXPECT_FALSE(IsWindowHandle(kNoWindow));
  DestroyWindowHandle(w); // twice is harmless
}

TEST(WindowHandlesTest, HostsOnSeveralThreadsGetDistinctHandles) {
  std::vector<std::vector<WindowHandle>> made(4);
  std::vector<std::thread> threads;
  for (auto& mine : made) {
    threads.emplace_back([&mine] {
      for (int i = 0; i < 200; ++i) mine.push_back(CreateWindowHandle("w"));
    });
  }
  for (auto& t : threads) t.join();
  std::vector<WindowHandle> all;
  for (const auto& mine : made) all.insert(all.end(), mine.begin(), mine.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
  for (WindowHandle w : all) DestroyWindowHandle(w);
}

} // namespace
} // namespace grx::platform
