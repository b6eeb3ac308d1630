#include "uInstaller.Core.FileWriter.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "DRX.Exceptions.h"

namespace {

// What the fake targets saw, in the order it happened: "write NAME BYTES" and "close NAME".
struct TJournal {
  std::mutex lock;
  std::vector<std::string> lines;
  void Add(std::string line) {
    std::lock_guard guard(lock);
    lines.push_back(std::move(line));
  }
};

// A target that accepts nothing when it is to fail, as a full disk does.
class TFakeTarget : public TStream {
 public:
  TFakeTarget(TJournal& journal, std::string name, bool fails) : journal_(journal), name_(std::move(name)), fails_(fails) {}
  ~TFakeTarget() override { journal_.Add("close " + name_); }
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buffer, int64_t count) override {
    if (fails_) return 0;
    journal_.Add("write " + name_ + " " + std::string(static_cast<const char*>(buffer), static_cast<size_t>(count)));
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return 0; }

 private:
  TJournal& journal_;
  std::string name_;
  bool fails_;
};

TEST(FileWriter, WritesAndClosesEveryFileInTheOrderGiven) {
  TJournal journal;
  const std::vector<std::string> contents = {"alpha", "", "gamma", "delta"};
  std::vector<std::string> expected;
  {
    TInstallerFileWriter writer;
    // More files than may wait at once: Write waits for room instead of failing.
    for (int round = 0; round < 10; ++round) {
      for (size_t i = 0; i < contents.size(); ++i) {
        const std::string name = std::to_string(round) + "." + std::to_string(i);
        writer.Write(std::make_unique<TFakeTarget>(journal, name, false), contents[i]);
        if (!contents[i].empty()) expected.push_back("write " + name + " " + contents[i]);
        expected.push_back("close " + name);
      }
    }
    writer.WaitForAll();
    EXPECT_EQ(journal.lines, expected) << "all done when WaitForAll returns";
  }
  EXPECT_EQ(journal.lines, expected);
}

TEST(FileWriter, AFailureIsRaisedOnceOnTheCallersThreadAndLaterFilesStayUnwritten) {
  TJournal journal;
  TInstallerFileWriter writer;
  writer.Write(std::make_unique<TFakeTarget>(journal, "first", false), "1");
  writer.Write(std::make_unique<TFakeTarget>(journal, "full", true), "2");
  writer.Write(std::make_unique<TFakeTarget>(journal, "after", false), "3");
  try {
    writer.WaitForAll();
    FAIL() << "the failed write is not reported";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), u"Stream write error");
  }
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"write first 1", "close first", "close full", "close after"}));
  EXPECT_NO_THROW(writer.WaitForAll()) << "reported once";
}

TEST(FileWriter, TheDestructorStillWritesWhatWasHandedOver) {
  TJournal journal;
  {
    TInstallerFileWriter writer;
    for (const char* name : {"a", "b", "c"}) writer.Write(std::make_unique<TFakeTarget>(journal, name, false), "x");
  }
  EXPECT_EQ(journal.lines,
            (std::vector<std::string>{"write a x", "close a", "write b x", "close b", "write c x", "close c"}));
}

}  // namespace
