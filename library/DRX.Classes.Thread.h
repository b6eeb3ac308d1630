#pragma once
// Threads of the library (Windows): a thread class created suspended, calls
// synchronised with the main thread, and the one way the main thread waits for
// anything — delivering sent messages and running synchronised calls meanwhile,
// because the threads it waits for report to it with synchronous sends.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

constexpr uint32_t kInfinite = 0xFFFFFFFF;

bool IsMainThread();

// Runs `call` on the main thread and returns when it has run; an exception it
// raises is raised again in the calling thread. On the main thread it runs at once.
void Synchronize(const std::function<void()>& call);

// Main thread: runs the synchronised calls that are waiting; true if any ran.
bool CheckSynchronize();

// Waits until the handle is signalled or the timeout passes (true when
// signalled), delivering messages sent to this thread's windows and, on the
// main thread, running synchronised calls.
bool WaitForHandlePumping(void* handle, uint32_t timeoutMs = kInfinite);

// Sleeps like WaitForHandlePumping waits: messages and calls keep flowing.
void SleepPumping(uint32_t milliseconds);

// A recursive lock.
using TDRXCriticalSection = std::recursive_mutex;
using TDRXLock = std::lock_guard<std::recursive_mutex>;

class TDRXThread {
 public:
  TDRXThread();  // created suspended: Start lets it run
  virtual ~TDRXThread();
  TDRXThread(const TDRXThread&) = delete;
  TDRXThread& operator=(const TDRXThread&) = delete;

  void Start();
  // Marks the thread terminated (resuming it first if it never ran); Execute
  // polls Terminated().
  virtual void Terminate();
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  // Waits for the body to end; on the main thread it keeps messages and
  // synchronised calls flowing.
  void WaitFor();
  void* Handle() const { return handle_; }

 protected:
  virtual void Execute() = 0;
  // Subclasses call this first in their destructors: the body may use their members.
  void TerminateAndWait();

 private:
  static unsigned long __stdcall ThreadProc(void* self);
  void* handle_ = nullptr;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  bool started_ = false;
};
