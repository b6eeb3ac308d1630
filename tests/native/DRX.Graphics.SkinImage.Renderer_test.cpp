#include "DRX.Graphics.SkinImage.Renderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "DRX.Graphics.SkinImage.h"
#include "DRX.Platform.h"

namespace {

std::u16string UnlockError(TDRXSkinImageRenderer& renderer) {
  try {
    renderer.Unlock();
  } catch (const EInvalidOperation& e) {
    return e.Message();
  }
  return u"";
}

}  // namespace

TEST(SkinImageRenderer, LivesAsLongAsAnyImage) {
  EXPECT_EQ(TDRXSkinImageRenderer::Instance(), nullptr);
  auto first = std::make_unique<TDRXSkinImage>();
  TDRXSkinImageRenderer* renderer = TDRXSkinImageRenderer::Instance();
  ASSERT_NE(renderer, nullptr);
  auto second = std::make_unique<TDRXSkinImage>();
  first.reset();
  EXPECT_EQ(TDRXSkinImageRenderer::Instance(), renderer);
  second.reset();
  EXPECT_EQ(TDRXSkinImageRenderer::Instance(), nullptr);
}

TEST(SkinImageRenderer, LockIsRecursiveAndOnlyItsOwnerReleasesIt) {
  TDRXSkinImage image;
  TDRXSkinImageRenderer& renderer = *TDRXSkinImageRenderer::Instance();
  EXPECT_EQ(UnlockError(renderer), u"Section is not owned");
  renderer.Lock();
  renderer.Lock();
  EXPECT_TRUE(renderer.OwnedByCurrentThread());
  std::u16string otherThread;
  std::thread([&] { otherThread = UnlockError(renderer); }).join();
  EXPECT_EQ(otherThread, u"Section is not owned");
  renderer.Unlock();
  EXPECT_TRUE(renderer.OwnedByCurrentThread());
  renderer.Unlock();
  EXPECT_FALSE(renderer.OwnedByCurrentThread());
  EXPECT_EQ(UnlockError(renderer), u"Section is not owned");  // once too often
}

TEST(SkinImageRenderer, AnotherThreadWaitsUntilTheLockIsFree) {
  TDRXSkinImage image;
  TDRXSkinImageRenderer& renderer = *TDRXSkinImageRenderer::Instance();
  std::atomic<int> entered{0};
  std::atomic<bool> stop{false};
  renderer.Lock();
  std::thread other([&] {
    while (!stop) {
      renderer.Lock();
      ++entered;
      renderer.Unlock();
    }
  });
  PlatformSleep(50);
  EXPECT_EQ(entered, 0);
  renderer.Unlock();
  while (entered == 0) PlatformSleep(1);
  stop = true;
  other.join();
  EXPECT_GT(entered, 0);
}
