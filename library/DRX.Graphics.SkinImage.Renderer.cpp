#include "DRX.Graphics.SkinImage.Renderer.h"

#include <mutex>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"

namespace {

std::mutex gLifetimeMutex;
int gImageCount = 0;
std::atomic<TDRXSkinImageRenderer*> gRenderer{nullptr};

}  // namespace

void TDRXSkinImageRenderer::AddImage() {
  std::lock_guard<std::mutex> guard(gLifetimeMutex);
  if (gImageCount++ == 0) gRenderer = new TDRXSkinImageRenderer;
}

void TDRXSkinImageRenderer::RemoveImage() {
  std::lock_guard<std::mutex> guard(gLifetimeMutex);
  if (--gImageCount == 0) delete gRenderer.exchange(nullptr);
}

TDRXSkinImageRenderer* TDRXSkinImageRenderer::Instance() { return gRenderer; }

void TDRXSkinImageRenderer::MarkChanged() {
  if (TDRXSkinImageRenderer* renderer = gRenderer) renderer->flushNeeded_ = true;
}

TDRXSkinImageRenderer::~TDRXSkinImageRenderer() {
#ifdef _WIN32
  ReleaseDevice();
#endif
}

void TDRXSkinImageRenderer::Lock() {
  const uint32_t self = PlatformCurrentThreadId();
  if (owner_.load(std::memory_order_acquire) == self) {
    ++recursionCount_;
    return;
  }
  for (uint32_t wait = 0;; wait = 1) {
    uint32_t expected = 0;
    if (owner_.compare_exchange_weak(expected, self, std::memory_order_acquire)) break;
    PlatformSleep(wait);
  }
  recursionCount_ = 1;
}

void TDRXSkinImageRenderer::Unlock() {
  if (!OwnedByCurrentThread()) throw EInvalidOperation(u"Section is not owned");
  if (--recursionCount_ < 0) throw EInvalidOperation(u"RecursionCount < 0");
  if (recursionCount_ == 0) owner_.store(0, std::memory_order_release);
}

bool TDRXSkinImageRenderer::OwnedByCurrentThread() const {
  return owner_.load(std::memory_order_acquire) == PlatformCurrentThreadId();
}
