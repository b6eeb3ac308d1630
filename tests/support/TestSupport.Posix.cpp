#include <sys/stat.h>

#include "TestSupport.h"

void MakeFileReadOnly(const UString& fileName) { chmod(Utf16ToUtf8(fileName).c_str(), 0444); }
