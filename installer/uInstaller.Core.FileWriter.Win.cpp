#include "uInstaller.Core.FileWriter.h"

namespace {
// Enough to ride out a few slow creations; each waiting file holds a handle.
constexpr size_t kMaxWaitingFiles = 16;
}  // namespace

TInstallerFileWriter::TInstallerFileWriter() : thread_([this] { Run(); }) {}

TInstallerFileWriter::~TInstallerFileWriter() {
  {
    std::lock_guard guard(lock_);
    ending_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void TInstallerFileWriter::RaiseFailure() {
  if (!failure_) return;
  // Raised once: the action fails with it, and the files after it are no longer written.
  std::exception_ptr failure = failure_;
  failure_ = nullptr;
  std::rethrow_exception(failure);
}

void TInstallerFileWriter::Write(std::unique_ptr<TStream> target, std::string_view bytes) {
  std::unique_lock guard(lock_);
  changed_.wait(guard, [this] { return jobs_.size() < kMaxWaitingFiles || failure_; });
  RaiseFailure();
  jobs_.push_back({std::move(target), bytes});
  guard.unlock();
  changed_.notify_all();
}

void TInstallerFileWriter::WaitForAll() {
  std::unique_lock guard(lock_);
  changed_.wait(guard, [this] { return jobs_.empty() && !busy_; });
  RaiseFailure();
}

void TInstallerFileWriter::Run() {
  bool failed = false;
  for (;;) {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return !jobs_.empty() || ending_; });
    if (jobs_.empty()) return;
    TJob job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    guard.unlock();
    try {
      // One write of the whole file: the system gets the size it is to allocate at once.
      if (!failed) job.Target->WriteBuffer(job.Bytes.data(), static_cast<int64_t>(job.Bytes.size()));
    } catch (...) {
      failed = true;
      guard.lock();
      failure_ = std::current_exception();
      guard.unlock();
    }
    job.Target.reset();  // closes the file
    guard.lock();
    busy_ = false;
    guard.unlock();
    changed_.notify_all();
  }
}
