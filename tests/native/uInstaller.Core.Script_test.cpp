#include "uInstaller.Core.Script.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {
std::unique_ptr<TInstallerScript> Load(std::string_view xml) {
  auto script = std::make_unique<TInstallerScript>();
  TMemoryStream stream(xml);
  script->LoadFromStream(stream);
  return script;
}
}  // namespace

TEST(Script, GroupsSettingsAndLicenseAreReadIgnoringTheCaseOfNames) {
  const auto script = Load(R"(<?xml version="1.0" encoding="utf-8"?>
<anything>
  <SETUP><License>License.rtf</License></SETUP>
  <product>
    <COMPONENTS>ignored text<file name="$DEST\Ovix.exe">Ovix.exe</file>
      <File name="$DEST\ru.lng" lang-family="RU"/><Other name="x"/></COMPONENTS>
    <Settings><a name="ProductName" value="Ovix"/><b name="productname" value="Later"/><c name="Empty"/></Settings>
    <Actions><File name="$DEST\Ovix.exe">CB1</File></Actions>
    <Shortcuts><File name="$DESKTOP\Ovix.lnk">$DEST\Ovix.exe</File></Shortcuts>
    <Components><File name="$DEST\second.dll"/></Components>
  </product>
</anything>)");
  ASSERT_EQ(script->Components.Count(), 3);
  EXPECT_EQ(script->Components.Items(0).Name, u"$DEST\\Ovix.exe");
  EXPECT_EQ(script->Components.Items(1).GetSourceName(), u"ru.lng") << "without text: the target's file name";
  EXPECT_EQ(script->Components.Items(1).LangFamily, u"RU");
  EXPECT_EQ(script->Components.Items(2).Name, u"$DEST\\second.dll") << "a repeated group appends";
  EXPECT_EQ(script->GetSetting(u"ProductName"), u"Later") << "the last of equal names wins";
  EXPECT_EQ(script->GetSetting(u"Empty"), u"");
  EXPECT_EQ(script->GetSetting(u"Missing"), u"");
  ASSERT_EQ(script->License.Count(), 1);
  EXPECT_EQ(script->License.Items(0).Name, u"License.rtf");
  EXPECT_TRUE(script->License.Items(0).MatchesFamily(u"DE"));
  EXPECT_EQ(script->Actions.Items(0).Source, u"CB1");
  EXPECT_EQ(script->Shortcuts.Items(0).GetSourceName(), u"$DEST\\Ovix.exe");
}

TEST(Script, LicenseFilesAreFoundByFamilyInDocumentOrder) {
  const auto script = Load(R"(<r><setup><license>
    <File lang-family="EN" name="en.rtf"/><File name="any.rtf"/><File lang-family="RU" name="ru.rtf"/>
  </license></setup></r>)");
  TInstallerScriptFile* file = nullptr;
  ASSERT_TRUE(script->License.FindByFamily(u"ru", file));
  EXPECT_EQ(file->Name, u"any.rtf") << "a file without family matches every family";
  ASSERT_TRUE(script->License.FindByFamily(u"EN", file));
  EXPECT_EQ(file->Name, u"en.rtf");
}

TEST(Script, MissingPartsStayEmpty) {
  for (std::string_view xml : {"", "<r/>", "<r><product/></r>", "not xml at all", "<r><setup><license/></setup></r>"}) {
    const auto script = Load(xml);
    EXPECT_EQ(script->Components.Count() + script->License.Count() + script->Settings.Count(), 0) << xml;
  }
}
