#pragma once
// A package decoded on a thread of its own while its reader is already in use.
// The work reports each length of the decoded stream it has reached; readers
// wait for the length their entry ends at, or for the end of the work, which
// includes the package's checks. A failure of the work (a damaged package, no
// memory) is raised to everyone who waits, as often as they wait.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class TSetupPackageDecoding {
 public:
  using TReached = std::function<void(int64_t decoded)>;
  using TWork = std::function<void(const TReached& reached)>;

  // Starts the work at once.
  explicit TSetupPackageDecoding(TWork work);
  // Stops the work at its next report and waits for its thread.
  ~TSetupPackageDecoding();
  TSetupPackageDecoding(const TSetupPackageDecoding&) = delete;
  TSetupPackageDecoding& operator=(const TSetupPackageDecoding&) = delete;

  // Returns once the first `count` bytes are decoded, or the whole work is done.
  void WaitFor(int64_t count);
  // Returns once the work is done and did not fail.
  void WaitForEnd();

 private:
  void Run(const TWork& work);
  void Report(int64_t decoded);
  void RaiseFailure();  // under the lock

  std::mutex lock_;
  std::condition_variable changed_;
  int64_t decoded_ = 0;
  bool done_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // last: starts once the members above exist
};
