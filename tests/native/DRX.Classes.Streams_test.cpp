#include "DRX.Classes.Streams.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

TEST(MemoryStream, WritesGrowReadsStopAtTheEndAndShortReadsRaise) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(stream.Size(), 6);
  stream.SetPosition(4);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 2);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  stream.SetPosition(5);
  EXPECT_THROW(stream.ReadBuffer(buffer, 2), EReadError);
  stream.SetPosition(8);  // writing past the end fills the gap with zeros
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Bytes(), std::string("abcdef\0\0z", 9));
}

TEST(FileStream, CopyFromMovesExactlyTheCountInBlocks) {
  TTempFolder folder;
  const std::string payload(3 * kMaxCopyBlockSize + 17, 'x');
  TMemoryStream source(payload);
  {
    TFileStream file(folder.File(u"copy.bin"), fmCreate);
    EXPECT_EQ(file.CopyFrom(source, static_cast<int64_t>(payload.size())), static_cast<int64_t>(payload.size()));
  }
  EXPECT_EQ(ReadFileBytes(folder.File(u"copy.bin")), payload);
  TFileStream reread(folder.File(u"copy.bin"), fmOpenRead | fmShareDenyNone);
  EXPECT_EQ(reread.Size(), static_cast<int64_t>(payload.size()));
  TMemoryStream target;
  EXPECT_THROW(target.CopyFrom(reread, reread.Size() + 1), EReadError);
}

TEST(FileStream, MissingFilesAndFoldersRaiseOpenAndCreateErrors) {
  TTempFolder folder;
  EXPECT_THROW(TFileStream(folder.File(u"missing.bin"), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(folder.File(u"no-such-folder/x.bin"), fmCreate), EFCreateError);
  WriteFileBytes(folder.File(u"exists.bin"), "1");
  EXPECT_THROW(TFileStream(folder.File(u"exists.bin"), fmCreate | fmExclusive), EFCreateError);
}
