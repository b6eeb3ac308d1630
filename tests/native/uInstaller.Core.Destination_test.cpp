#include "uInstaller.Core.Destination.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

TEST(DestinationName, AFullPathWhoseNamesAreValidAsWritten) {
  for (const char16_t* path : {u"C:\\Ovix", u"C:\\Ovix\\", u"d:\\Program Files\\Ovix Player\\", u"C:\\Ovix;Other\\",
                               u"C:\\.hidden\\Ovix", u"C:\\", u"\\\\server\\share\\Ovix\\", u"C:\\a..b\\c.d\\"})
    EXPECT_TRUE(IsValidDestinationName(path)) << Utf16ToUtf8(path);
  const char16_t* invalid[] = {
      u"",                       // nothing
      u"Ovixrel",                // relative
      u"C:Ovix",                 // relative to the drive's current folder
      u"\\Ovix",                 // relative to the current drive
      u"1:\\Ovix",               // no drive letter
      u"C:\\Ovix;C:\\Other",     // a colon inside a name
      u"C:\\Ovix\"",             // a quote
      u"C:\\Ovix. . .",          // trailing dots and spaces, which the system drops
      u"C:\\Ovix.\\x",           // a trailing dot inside
      u"C:\\Ovix \\x",           // a trailing space inside
      u"C:\\ Ovix",              // a leading space
      u"C:\\Ovix\\\\x",          // an empty name
      u"C:\\Ovix\\..\\x",        // ".." (the destination is made full before it is checked)
      u"C:\\Ovix\\.\\x",         // "."
      u"C:\\Ov*x", u"C:\\Ov?x", u"C:\\Ov<x>", u"C:\\Ov|x", u"C:\\Ov/x", u"C:\\Ov\tx",
      u"\\\\server",             // no share
      u"\\\\server\\",           // no share
      u"\\\\\\share\\x",         // no server
  };
  for (const char16_t* path : invalid) EXPECT_FALSE(IsValidDestinationName(path)) << Utf16ToUtf8(path);
  EXPECT_TRUE(IsValidDestinationName(u"C:\\" + UString(255, u'x')));
  EXPECT_FALSE(IsValidDestinationName(u"C:\\" + UString(256, u'x'))) << "a name of more than 255 characters";
}
