#include <windows.h>

#include "DRX.Classes.Thread.h"

#include <deque>
#include <exception>

#include "DRX.Exceptions.h"

namespace {

const DWORD gMainThreadId = GetCurrentThreadId();  // static initialisation runs on the main thread

struct TPendingCall {
  const std::function<void()>* call;
  std::exception_ptr error;
  HANDLE done;
};

std::mutex gQueueLock;
std::deque<TPendingCall*> gQueue;

HANDLE SyncEvent() {
  static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return event;
}

void DeliverSentMessages() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool IsMainThread() { return GetCurrentThreadId() == gMainThreadId; }

void Synchronize(const std::function<void()>& call) {
  if (IsMainThread()) {
    call();
    return;
  }
  TPendingCall pending{&call, nullptr, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  if (!pending.done) RaiseLastOSError();
  {
    std::lock_guard<std::mutex> lock(gQueueLock);
    gQueue.push_back(&pending);
  }
  SetEvent(SyncEvent());
  PostThreadMessageW(gMainThreadId, WM_NULL, 0, 0);  // wakes a message loop that is not waiting on the event
  WaitForSingleObject(pending.done, INFINITE);
  CloseHandle(pending.done);
  if (pending.error) std::rethrow_exception(pending.error);
}

bool CheckSynchronize() {
  if (!IsMainThread()) return false;
  bool ran = false;
  for (;;) {
    TPendingCall* pending;
    {
      std::lock_guard<std::mutex> lock(gQueueLock);
      if (gQueue.empty()) return ran;
      pending = gQueue.front();
      gQueue.pop_front();
    }
    try {
      (*pending->call)();
    } catch (...) {
      pending->error = std::current_exception();
    }
    ran = true;
    SetEvent(pending->done);
  }
}

bool WaitForHandlePumping(void* handle, uint32_t timeoutMs) {
  const bool mainThread = IsMainThread();
  const HANDLE handles[2] = {static_cast<HANDLE>(handle), SyncEvent()};
  const DWORD count = mainThread ? 2 : 1;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    DWORD wait = INFINITE;
    if (timeoutMs != kInfinite) {
      const ULONGLONG elapsed = GetTickCount64() - start;
      if (elapsed >= timeoutMs) return WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0;
      wait = static_cast<DWORD>(timeoutMs - elapsed);
    }
    const DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, wait, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result == WAIT_OBJECT_0 + count) {
      DeliverSentMessages();
    } else if (mainThread && result == WAIT_OBJECT_0 + 1) {
      CheckSynchronize();
    } else if (result == WAIT_TIMEOUT) {
      return false;
    } else if (result == WAIT_FAILED) {
      RaiseLastOSError();
    }
  }
}

void SleepPumping(uint32_t milliseconds) {
  static const HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  WaitForHandlePumping(never, milliseconds);
}

TDRXThread::TDRXThread() {
  handle_ = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, nullptr);
  if (!handle_) RaiseLastOSError();
}

TDRXThread::~TDRXThread() {
  TerminateAndWait();
  CloseHandle(handle_);
}

void TDRXThread::Start() {
  if (started_) return;
  started_ = true;
  ResumeThread(handle_);
}

void TDRXThread::Terminate() {
  terminated_ = true;
  Start();
}

void TDRXThread::WaitFor() {
  if (!started_) return;
  WaitForHandlePumping(handle_);
}

void TDRXThread::TerminateAndWait() {
  TDRXThread::Terminate();
  WaitFor();
}

unsigned long __stdcall TDRXThread::ThreadProc(void* self) {
  auto* thread = static_cast<TDRXThread*>(self);
  if (!thread->terminated_) {
    try {
      thread->Execute();
    } catch (...) {
      // The body owns its error handling; nothing may escape a thread.
    }
  }
  thread->finished_ = true;
  return 0;
}
