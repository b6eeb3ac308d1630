#include "uInstaller.Core.PackageDecoding.h"

namespace {
// Thrown through the work to end it early; never leaves the thread.
struct TStopped {};
}  // namespace

TSetupPackageDecoding::TSetupPackageDecoding(TWork work) : thread_([this, work = std::move(work)] { Run(work); }) {}

TSetupPackageDecoding::~TSetupPackageDecoding() {
  {
    std::lock_guard guard(lock_);
    stopping_ = true;
  }
  thread_.join();
}

void TSetupPackageDecoding::Run(const TWork& work) {
  std::exception_ptr failure;
  try {
    work([this](int64_t decoded) { Report(decoded); });
  } catch (const TStopped&) {
  } catch (...) {
    failure = std::current_exception();
  }
  {
    std::lock_guard guard(lock_);
    done_ = true;
    failure_ = failure;
  }
  changed_.notify_all();
}

void TSetupPackageDecoding::Report(int64_t decoded) {
  {
    std::lock_guard guard(lock_);
    if (stopping_) throw TStopped();
    decoded_ = decoded;
  }
  changed_.notify_all();
}

void TSetupPackageDecoding::RaiseFailure() {
  if (failure_) std::rethrow_exception(failure_);
}

void TSetupPackageDecoding::WaitFor(int64_t count) {
  std::unique_lock guard(lock_);
  changed_.wait(guard, [&] { return decoded_ >= count || done_; });
  RaiseFailure();
}

void TSetupPackageDecoding::WaitForEnd() {
  std::unique_lock guard(lock_);
  changed_.wait(guard, [this] { return done_; });
  RaiseFailure();
}
