#pragma once
// Writes and closes the extracted files on a thread of its own while the
// installer thread goes on to create the next ones: on two cores the writing
// of one file overlaps the creation of the next, and the files are still
// created in the script's order. The first failure is raised on the
// installer thread by the next Write or WaitForAll; the files handed over
// after it are closed as they are.

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "DRX.Classes.Streams.h"

class TInstallerFileWriter {
 public:
  TInstallerFileWriter();
  // Writes what was handed over (failures are not raised any more) and ends the thread.
  ~TInstallerFileWriter();
  TInstallerFileWriter(const TInstallerFileWriter&) = delete;
  TInstallerFileWriter& operator=(const TInstallerFileWriter&) = delete;

  // Writes the bytes into the open target and closes it; the bytes must stay
  // valid until the writer is done with them (WaitForAll or the destructor).
  // Waits while many files are still waiting to be written.
  void Write(std::unique_ptr<TStream> target, std::string_view bytes);
  // Returns when every file handed over is written and closed.
  void WaitForAll();

 private:
  struct TJob {
    std::unique_ptr<TStream> Target;
    std::string_view Bytes;
  };
  void Run();
  void RaiseFailure();  // under the lock

  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<TJob> jobs_;
  bool busy_ = false;  // a job taken off the queue is being written
  bool ending_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // last: starts once the members above exist
};
