#pragma once
// The prepare action in tests (Windows): an Ovix installer for a destination
// in a fresh folder, made-up users whose application data lies in another,
// the status texts the action sends, and what its archives and folders hold.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestAccounts.h"
#include "TestOvix.h"
#include "TestSupport.h"
#include "uInstaller.Product.Ovix.Actions.Prepare.h"

// Entry name (as stored) -> content, of a zip archive read back with libzip.
std::map<std::string, std::string> ReadArchive(const UString& fileName);
std::set<std::string> NamesOf(const std::map<std::string, std::string>& entries);
// The files below the folder, as paths relative to it.
std::set<UString> FilesBelow(const UString& folder);
// Each file holds its own name (UTF-8); missing folders are made.
void WriteFiles(const UString& folder, std::initializer_list<const char16_t*> names);

// The status texts an installer sends.
class TStatusLog : public IInstallerNotify {
 public:
  void Notify(int code, intptr_t data) override {
    if (code == inStatusText) Texts.push_back(NotifyText(data));
  }
  std::vector<UString> Texts;
};

class PrepareAction : public ::testing::Test {
 protected:
  PrepareAction();
  ~PrepareAction() override;
  // A new installer for /AUTO="<dest>" <switches>.
  void Open(UStringView switches = u"");
  // A user of the machine whose application data lies in the test's folder.
  UString AddUser(const UString& name);
  std::unique_ptr<TInstallerActionPrepare> Run(UStringView switches = u"");
  // The names in "!Backup\".
  std::vector<UString> Archives();

  TOvixProductGuard product;
  TTempFolder destination, users;
  const UString& dest = destination.Path();
  TFakeAccounts accounts;
  int userCount = 0;
  TStatusLog status;
  std::unique_ptr<TInstaller> installer;
};
